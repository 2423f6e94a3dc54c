// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli ports: finds the serial devices, and what keeps the user from
// one.

#include <array>
#include <iostream>

#include "cli_platform_help.h"
#include "link/serial_devices.h"
#include "model/json_writer.h"
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
    .usage = platform_help::kPortsUsage,
    .order = 44,
    .run = RunPorts,
    .options = kOptions,
    .usage_end =
        "\n"
        "Exit codes: 0 listed (also when there is no device), 2 usage error.\n",
    .help_column = kHelpColumn,
};

// A text that is not known (empty) is null.
JsonWriter& StringOrNull(JsonWriter& json, const std::string& text) {
  return text.empty() ? json.Null() : json.String(text);
}

std::string Json(const SerialSurvey& survey) {
  JsonWriter json;
  json.BeginObject(JsonLayout::kLines).Key("devices").BeginArray(JsonLayout::kLines);
  for (const SerialDevice& d : survey.devices) {
    json.BeginObject().Key("path").String(d.path);
    StringOrNull(json.Key("by_id"), d.by_id);
    StringOrNull(json.Key("driver"), d.driver);
    StringOrNull(json.Key("usb_id"), d.usb_id);
    StringOrNull(json.Key("product"), d.product);
    // Where it is not known (Windows), null.
    if (d.access.known) {
      json.Key("can_open").Bool(d.access.can_open);
    } else {
      json.Key("can_open").Null();
    }
    StringOrNull(json.Key("group"), d.access.group);
    json.Key("in_group").Bool(d.access.in_group);
    StringOrNull(json.Key("access_problem"), d.access.problem);
    json.Key("held_by").BeginArray();
    for (const ProcessRef& holder : d.holders) {
      json.BeginObject().Key("pid").Number(holder.pid).Key("name").String(holder.name).End();
    }
    json.End().End();
  }
  json.End().Key("warnings").BeginArray(JsonLayout::kLines);
  for (const PortWarning& w : survey.warnings) {
    json.BeginObject().Key("program").String(w.program).Key("pids").BeginArray();
    for (const int pid : w.pids) json.Number(pid);
    json.End().Key("text").String(w.text).End();
  }
  json.End().Key("all_processes_seen").Bool(survey.all_processes_seen).End();
  return json.Take() + "\n";
}

std::string Line(const SerialDevice& d, bool holders_visible) {
  std::string line = d.path + ":";
  std::string separator = " ";
  const auto add = [&](const std::string& part) {
    line += separator + part;
    separator = "; ";
  };
  if (!d.by_id.empty()) add("by-id " + d.by_id);
  if (!d.driver.empty()) add("driver " + d.driver);
  if (!d.usb_id.empty()) add("USB " + d.usb_id + (d.product.empty() ? "" : " " + d.product));
  if (!d.access.known) {
    add("access " + d.access.problem);
  } else {
    add(d.access.can_open ? "can be opened" : "cannot be opened: " + d.access.problem);
  }
  if (holders_visible) add(d.holders.empty() ? std::string("free") : InUseText(d.holders));
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
  for (const SerialDevice& device : survey.devices) out += Line(device, survey.holders_visible);
  if (const int written = WriteOutput(kPorts, out); written != exit_code::kOk) return written;
  const std::string prefix = "z-lm5-cli " + std::string(kPorts.name) + ": ";
  if (survey.devices.empty()) std::cerr << prefix << "no serial device found\n";
  for (const PortWarning& warning : survey.warnings) {
    std::cerr << prefix << "warning: " << warning.text << '\n';
  }
  if (!survey.all_processes_seen && survey.holders_visible && !survey.devices.empty()) {
    std::cerr << prefix
              << "the open files of other users' processes can be read only as root: a device "
                 "shown free may still be in use\n";
  }
  return exit_code::kOk;
}

const CliCommandRegistration kRegistration(kPorts);

}  // namespace
}  // namespace zlm5::cli
