#!/usr/bin/env bash
# The bash completion of z-lm5-cli offers the commands, each command's
# options, channel data files, CSV lists and serial ports where they belong.
# Usage: bash_completion_test.sh COMPLETION CLI
set -uo pipefail
source "$(dirname "$0")/test_lib.sh"
bash_completion=/usr/share/bash-completion/bash_completion
if [ ! -r "$bash_completion" ]; then
  echo "SKIPPED: $bash_completion is missing (Debian package bash-completion)"
  exit 77
fi
completion=$1 cli=$2

# The completion runs in a child shell, as in an interactive one; PATH
# finds the program under test as "z-lm5-cli".
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
ln -s "$cli" "$bin/z-lm5-cli"
mkdir "$bin/work" "$bin/work/folder"
touch "$bin/work/radio.sin" "$bin/work/list.csv" "$bin/work/notes.txt"

# Prints the candidates for a command line typed up to its end, one a line,
# sorted.
complete_line() {
  (cd "$bin/work" && PATH="$bin:$PATH" bash --norc --noprofile -c '
    source "$1"; source "$2"
    COMP_LINE=$3
    read -r -a COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_POINT=${#COMP_LINE}
    _z_lm5_cli z-lm5-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_completion" "$completion" "$1") | sort
}

# expect_completion LINE WORD...: the candidates are exactly the WORDs.
expect_completion() {
  local line=$1
  shift
  expect_eq "completion of '$line'" "$(printf '%s\n' "$@" | sort)" "$(complete_line "$line")"
}

commands=$("$cli" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }')
# shellcheck disable=SC2086  # one word each
expect_completion "z-lm5-cli " $commands --help --version
expect_completion "z-lm5-cli ex" export
expect_completion "z-lm5-cli write --" --port --raw --retries --accept-type-mismatch \
  --backup-first --verify --no-backup --trace
expect_completion "z-lm5-cli import radio.sin list.csv --" --output --at --strict
expect_completion "z-lm5-cli tune " low high
expect_completion "z-lm5-cli fleet " read write
expect_completion "z-lm5-cli fleet write " radio.sin folder
expect_completion "z-lm5-cli fleet write radio.sin --ids " list.csv folder
expect_completion "z-lm5-cli fleet read --port COM1 --out-dir " folder
expect_completion "z-lm5-cli grid " radio.sin folder
expect_completion "z-lm5-cli import radio.sin " list.csv folder
expect_completion "z-lm5-cli export radio.sin -o " folder list.csv notes.txt radio.sin
ports=$(complete_line "z-lm5-cli read --port ")
for name in COM1 COM2 COM3 COM4 /dev/ttyUSB* /dev/ttyACM* /dev/ttyS*; do
  [ -e "$name" ] || [[ $name == COM* ]] || continue
  grep -qx -- "$name" <<<"$ports" || fail "--port does not offer $name"
done
finish
