// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli ports: finds the serial devices, and what keeps the user from
// one.

#include <array>
#include <cstdio>
#include <iostream>

#include "link/serial_devices.h"
#include "model/text_util.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_link_host.h"

namespace zlm5::cli {
namespace {

int RunPorts(const std::vector<std::string>& args);

constexpr std::array<CliOption, 2> kOptions = {{
    {"", "--json", OptionKind::kFlag, "",
     "print all of it as one JSON object instead: \"devices\"\n"
     "(path, by_id, driver, usb_id, product, can_open, group,\n"
     "in_group, access_problem, held_by), \"warnings\" (program,\n"
     "pids, text) and \"all_processes_seen\""},
    {"", "--root", OptionKind::kValue, "DIR",
     "read DIR/sys, DIR/dev, DIR/proc and DIR/etc/group instead\n"
     "of the machine's own"},
}};
// The options' texts start here (two blanks after the longest names).
constexpr std::size_t kHelpColumn = 14;

const CliCommand kPorts = {
    .name = "ports",
    .summary = "list the serial devices present and whether you can use them",
    .usage =
        "Usage: z-lm5-cli ports [--json] [--root DIR]\n"
        "\n"
        "Lists every serial device present, one line each:\n"
        "  PATH: by-id NAME; driver DRIVER; USB VVVV:PPPP PRODUCT; ACCESS; USE\n"
        "NAME is the device's stable name under /dev/serial/by-id, which stays\n"
        "the same whichever order cables are plugged in; ACCESS is \"can be\n"
        "opened\", or \"cannot be opened: \" and why (the group that owns the\n"
        "device and whether you are in it); USE is \"free\" or \"in use by NAME\n"
        "(PID N)\". Parts that are not known are left out. No device is opened.\n"
        "\n"
        "Warnings follow on standard error when ModemManager or brltty is\n"
        "running, since they take USB serial adapters away, with what to do. The\n"
        "open files of other users' processes can be read only as root: without\n"
        "it, a device shown free may still be in use.\n"
        "\n",
    .order = 44,
    .run = RunPorts,
    .options = kOptions,
    .usage_end =
        "\n"
        "Exit codes: 0 listed (also when there is no device), 2 usage error.\n",
    .help_column = kHelpColumn,
};

// Below this, bytes are control characters: JSON spells them \uXXXX.
constexpr unsigned char kFirstPrintable = 0x20;
// From this on, bytes belong to a UTF-8 sequence of more than one byte.
constexpr unsigned char kFirstNonAscii = 0x80;

// A JSON string: quotes, backslashes and control characters escaped, and
// bytes that are not UTF-8 (a process may name itself anything) replaced.
std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    // A well-formed sequence counts whole; a bad byte alone.
    const std::size_t length = Utf8CharLength(text, i);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < kFirstPrintable) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else if (c >= kFirstNonAscii && length == 1) {
      out += "\\ufffd";
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out + "\"";
}

// A string, or null when it is empty (not known).
std::string JsonOptional(const std::string& text) {
  return text.empty() ? "null" : JsonString(text);
}

std::string Json(const SerialSurvey& survey) {
  std::string out = "{\n  \"devices\": [";
  for (std::size_t i = 0; i < survey.devices.size(); ++i) {
    const SerialDevice& d = survey.devices[i];
    out += i ? ",\n    {" : "\n    {";
    out += "\"path\": " + JsonString(d.path) + ", \"by_id\": " + JsonOptional(d.by_id) +
           ", \"driver\": " + JsonOptional(d.driver) + ", \"usb_id\": " + JsonOptional(d.usb_id) +
           ", \"product\": " + JsonOptional(d.product) +
           ", \"can_open\": " + (d.access.can_open ? "true" : "false") +
           ", \"group\": " + JsonOptional(d.access.group) +
           ", \"in_group\": " + (d.access.in_group ? "true" : "false") +
           ", \"access_problem\": " + JsonOptional(d.access.problem) + ", \"held_by\": [";
    for (std::size_t h = 0; h < d.holders.size(); ++h) {
      out += (h ? ", {\"pid\": " : "{\"pid\": ") + std::to_string(d.holders[h].pid) +
             ", \"name\": " + JsonString(d.holders[h].name) + "}";
    }
    out += "]}";
  }
  out += survey.devices.empty() ? "],\n  \"warnings\": [" : "\n  ],\n  \"warnings\": [";
  for (std::size_t i = 0; i < survey.warnings.size(); ++i) {
    const PortWarning& w = survey.warnings[i];
    out += (i ? ",\n    {\"program\": " : "\n    {\"program\": ") + JsonString(w.program) +
           ", \"pids\": [";
    for (std::size_t p = 0; p < w.pids.size(); ++p)
      out += (p ? ", " : "") + std::to_string(w.pids[p]);
    out += "], \"text\": " + JsonString(w.text) + "}";
  }
  out += survey.warnings.empty() ? "]" : "\n  ]";
  out += ",\n  \"all_processes_seen\": ";
  out += survey.all_processes_seen ? "true" : "false";
  return out + "\n}\n";
}

std::string Line(const SerialDevice& d) {
  std::string line = d.path + ":";
  std::string separator = " ";
  const auto add = [&](const std::string& part) {
    line += separator + part;
    separator = "; ";
  };
  if (!d.by_id.empty()) add("by-id " + d.by_id);
  if (!d.driver.empty()) add("driver " + d.driver);
  if (!d.usb_id.empty()) add("USB " + d.usb_id + (d.product.empty() ? "" : " " + d.product));
  add(d.access.can_open ? "can be opened" : "cannot be opened: " + d.access.problem);
  add(d.holders.empty() ? std::string("free") : InUseText(d.holders));
  return line + "\n";
}

int RunPorts(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kPorts, *error);
  const bool json = parsed.Has("--json");
  if (!parsed.positional.empty()) return UsageError(kPorts, "expected no arguments");
  SystemRoots roots;
  if (const std::string* root = parsed.Value("--root")) {
    if (root->empty()) return UsageError(kPorts, "empty --root DIR");
    roots = {*root + "/sys", *root + "/dev", *root + "/proc", *root + "/etc/group"};
  }

  const SerialSurvey survey = SurveySerialDevices(roots, UserIdentity::Current());
  if (json) return WriteOutput(kPorts, Json(survey));

  std::string out;
  for (const SerialDevice& device : survey.devices) out += Line(device);
  if (const int written = WriteOutput(kPorts, out); written != exit_code::kOk) return written;
  const std::string prefix = "z-lm5-cli " + std::string(kPorts.name) + ": ";
  if (survey.devices.empty()) std::cerr << prefix << "no serial device found\n";
  for (const PortWarning& warning : survey.warnings) {
    std::cerr << prefix << "warning: " << warning.text << '\n';
  }
  if (!survey.all_processes_seen && !survey.devices.empty()) {
    std::cerr << prefix
              << "the open files of other users' processes can be read only as root: a device "
                 "shown free may still be in use\n";
  }
  return exit_code::kOk;
}

const CliCommandRegistration kRegistration(kPorts);

}  // namespace
}  // namespace zlm5::cli
