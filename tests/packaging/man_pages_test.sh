#!/usr/bin/env bash
# The man pages format without a warning, and describe every command and
# option that the programs' own --help names.
# Usage: man_pages_test.sh MANDIR CLI SIM [GUI]
set -uo pipefail
source "$(dirname "$0")/test_lib.sh"
need_tool man man-db
man_dir=$1 cli=$2 sim=$3 gui=${4:-}

# The page's source with the roff escapes of dashes and fonts taken out.
page_text() {
  sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$man_dir/$1"
}

# Options named in a --help text ("-o", "--output", "--low N, --high N").
help_options() {
  grep -oE '(^|[ ,[])--?[a-z][a-z-]*' | sed -E 's/^[ ,[]//' | sort -u
}

# expect_options PAGE HELP_TEXT: every option of the help is in the page.
expect_options() {
  local page=$1 text opt
  text=$(page_text "$page")
  while read -r opt; do
    [ -z "$opt" ] && continue
    grep -qE -- "(^|[^a-z-])$opt([^a-z-]|$)" <<<"$text" || fail "$page does not describe $opt"
  done < <(help_options <<<"$2")
}

pages=(z-lm5-cli.1 z-lm5-radio-sim.1)
[ -n "$gui" ] && pages+=(z-lm5.1)
for page in "${pages[@]}"; do
  warnings=$(MANWIDTH=80 man --warnings -l "$man_dir/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES "SEE ALSO"; do
    grep -q "^\.SH \"\?$section\"\?$" "$man_dir/$page" || fail "$page has no $section section"
  done
done

# z-lm5-cli: each command of the program's list has its own section with
# the options of its --help.
commands=$("$cli" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }')
[ -n "$commands" ] || fail "z-lm5-cli --help lists no commands"
for command in $commands; do
  grep -q "^\.SS \"$command\( \|\"\)" "$man_dir/z-lm5-cli.1" || fail "z-lm5-cli.1 has no section for $command"
  expect_options z-lm5-cli.1 "$("$cli" "$command" --help)"
done
expect_options z-lm5-cli.1 "$("$cli" --help)"
expect_options z-lm5-radio-sim.1 "$("$sim" --help)"
if [ -n "$gui" ]; then
  expect_options z-lm5.1 "$(QT_QPA_PLATFORM=offscreen "$gui" --help 2>/dev/null)"
fi
finish
