// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port on Win32: a COM port opened for overlapped I/O.
//
// Where Windows differs from the POSIX port, as a user sees it:
// - The time-outs are the driver's (SetCommTimeouts), so a read ends as the
//   profile says without our own clock. A read interval of 0 means "no
//   interval" to the driver: such a read ends at its total time-out only.
// - Exclusive use is the open's own: no sharing. A port another program has
//   open fails with "Access is denied", and the hint says what to do; the
//   system does not tell which program it is.
// - A cable pulled while the port is open shows as a failed call (the
//   driver's device is gone), or, for drivers that keep the port, as
//   time-outs.
#include <windows.h>

#include <algorithm>

#include "link/port_names.h"
#include "link/serial_port.h"
#include "model/win32_text.h"

namespace zlm5 {
namespace {

// The driver's queues asked for at open: room for the longest exchange
// (a 12-byte block reply, a 12-byte block write) many times over.
constexpr DWORD kInputQueueBytes = 1024;
constexpr DWORD kOutputQueueBytes = 512;
// How long a cancelled call may take to report back; then it is given up.
constexpr DWORD kCancelWaitMs = 1000;
// A write waits this long past its own time-out for the driver to report.
constexpr auto kWriteReportGrace = std::chrono::milliseconds(500);

// Errors that end an overlapped call early without anything being wrong:
// the driver's time-out (wine reports one this way instead of a short
// count) and our own cancel.
bool EndedByTimeOrCancel(DWORD error) {
  return error == ERROR_TIMEOUT || error == ERROR_OPERATION_ABORTED || error == ERROR_SEM_TIMEOUT;
}

DWORD Ms(int ms) { return static_cast<DWORD>(std::max(ms, 0)); }

// The driver's time-outs for the profile. Both read totals 0 would tell
// the driver to wait for ever; the profile means "what has arrived", which
// is MAXDWORD, 0, 0 to the driver.
COMMTIMEOUTS DriverTimeouts(const TimeoutProfile& p) {
  COMMTIMEOUTS t{};
  if (p.read_total_multiplier_ms == 0 && p.read_total_constant_ms == 0) {
    t.ReadIntervalTimeout = MAXDWORD;
  } else {
    t.ReadIntervalTimeout = Ms(p.read_interval_ms);
    t.ReadTotalTimeoutMultiplier = Ms(p.read_total_multiplier_ms);
    t.ReadTotalTimeoutConstant = Ms(p.read_total_constant_ms);
  }
  t.WriteTotalTimeoutMultiplier = Ms(p.write_total_multiplier_ms);
  t.WriteTotalTimeoutConstant = Ms(p.write_total_constant_ms);
  return t;
}

bool SameTimeouts(const COMMTIMEOUTS& a, const COMMTIMEOUTS& b) {
  return a.ReadIntervalTimeout == b.ReadIntervalTimeout &&
         a.ReadTotalTimeoutMultiplier == b.ReadTotalTimeoutMultiplier &&
         a.ReadTotalTimeoutConstant == b.ReadTotalTimeoutConstant &&
         a.WriteTotalTimeoutMultiplier == b.WriteTotalTimeoutMultiplier &&
         a.WriteTotalTimeoutConstant == b.WriteTotalTimeoutConstant;
}

// The radio's line, 9600 baud 8N1, set field by field on the port's own
// settings.
void SetRadioLine(DCB& dcb) {
  dcb.BaudRate = CBR_9600;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  // Bytes pass as they are: no parity check, no end-of-file byte, no
  // replacement of bad bytes, NUL bytes kept.
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  // No flow control of any kind; DTR and RTS raised, as a POSIX open
  // leaves them (the cable may draw its power from them).
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fTXContinueOnXoff = TRUE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  // A line error (a framing error from noise) must not stop every later
  // call until ClearCommError: the protocol's checks see the bad byte.
  dcb.fAbortOnError = FALSE;
}

// A failed call on the open port, naming it and what was done.
Error IoError(const std::string& device, const std::string& action, DWORD code) {
  return Error::FromSystem(device + " (" + action + ")", static_cast<int>(code));
}

}  // namespace

struct SerialPort::Native {
  HANDLE handle = INVALID_HANDLE_VALUE;
  HANDLE done = nullptr;  // signalled when an overlapped call ends
  DCB original_line{};    // the port's settings before Open
  COMMTIMEOUTS original_timeouts{};
  COMMTIMEOUTS timeouts{};  // what the driver has now

  ~Native() {
    if (done != nullptr) CloseHandle(done);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }

  bool UseTimeouts(const COMMTIMEOUTS& wanted) {
    if (SameTimeouts(wanted, timeouts)) return true;
    if (!SetCommTimeouts(handle, const_cast<COMMTIMEOUTS*>(&wanted))) return false;
    timeouts = wanted;
    return true;
  }

  // Waits for the overlapped call of `ov` in slices of at most `slice`,
  // asking `go_on` after each slice; when it says stop, cancels the call
  // and waits for the cancel. Returns the bytes moved, or the Win32 error
  // (0 when there is none to report).
  DWORD Finish(OVERLAPPED& ov, DWORD slice, const std::function<bool()>& go_on,
               DWORD& error) const {
    error = 0;
    for (;;) {
      const DWORD waited = WaitForSingleObject(done, slice);
      if (waited == WAIT_OBJECT_0) break;
      if (waited != WAIT_TIMEOUT) {
        error = GetLastError();
        CancelIoEx(handle, &ov);
        WaitForSingleObject(done, kCancelWaitMs);
        return 0;
      }
      if (!go_on()) {
        CancelIoEx(handle, &ov);
        if (WaitForSingleObject(done, kCancelWaitMs) != WAIT_OBJECT_0) {
          error = ERROR_OPERATION_ABORTED;
          return 0;
        }
        break;
      }
    }
    DWORD moved = 0;
    if (!GetOverlappedResult(handle, &ov, &moved, FALSE)) {
      const DWORD failed = GetLastError();
      if (!EndedByTimeOrCancel(failed)) error = failed;
    }
    return moved;
  }
};

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() { Close(); }

std::intptr_t SerialPort::native_handle() const {
  return native_ ? reinterpret_cast<std::intptr_t>(native_->handle) : -1;
}

Status SerialPort::Open(const std::string& device, const TimeoutProfile& profile) {
  Close();
  auto native = std::make_unique<Native>();
  // No sharing: the port is ours alone until Close. Ports above COM9 open
  // only by their device name, so every COM name gets the "\\.\" prefix.
  const std::wstring name = WideFromUtf8(ComDevicePath(device));
  native->handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (native->handle == INVALID_HANDLE_VALUE)
    return Error::FromSystem(device, static_cast<int>(GetLastError()));

  DCB line{};
  line.DCBlength = sizeof line;
  // A file or another device opens too, but has no line settings.
  if (!GetCommState(native->handle, &line)) {
    return Error(device, "this device is not a serial port", static_cast<int>(GetLastError()));
  }
  native->original_line = line;
  SetRadioLine(line);
  if (!SetCommState(native->handle, &line))
    return Error::FromSystem(device, static_cast<int>(GetLastError()));
  // Only a request: a driver may keep its own sizes.
  (void)SetupComm(native->handle, kInputQueueBytes, kOutputQueueBytes);

  if (!GetCommTimeouts(native->handle, &native->original_timeouts)) {
    const DWORD failed = GetLastError();
    (void)SetCommState(native->handle, &native->original_line);
    return Error::FromSystem(device, static_cast<int>(failed));
  }
  const COMMTIMEOUTS timeouts = DriverTimeouts(profile);
  if (!SetCommTimeouts(native->handle, const_cast<COMMTIMEOUTS*>(&timeouts))) {
    const DWORD failed = GetLastError();
    (void)SetCommState(native->handle, &native->original_line);
    return Error::FromSystem(device, static_cast<int>(failed));
  }
  native->timeouts = timeouts;
  native->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (native->done == nullptr) return Error::FromSystem(device, static_cast<int>(GetLastError()));
  // Start from empty queues: nothing left over from an earlier program.
  (void)PurgeComm(native->handle, PURGE_RXCLEAR | PURGE_TXCLEAR);

  native_ = std::move(native);
  device_ = device;
  profile_ = profile;
  return Ok{};
}

void SerialPort::Close() {
  if (!native_) return;
  // The port goes back to the settings it had, for the next program.
  (void)SetCommTimeouts(native_->handle, &native_->original_timeouts);
  (void)SetCommState(native_->handle, &native_->original_line);
  native_.reset();
}

Status SerialPort::Drain() {
  if (!native_) return Error(device_, "the port is not open");
  if (!FlushFileBuffers(native_->handle)) return IoError(device_, "drain", GetLastError());
  return Ok{};
}

Status SerialPort::Purge(PurgeMask /*mask*/) {
  // Both masks mean the same here, as on POSIX: the output queue is
  // drained, never cleared, so no byte we wrote is lost; then what has
  // arrived and not been read is discarded. Clearing the output as well
  // (PURGE_TXCLEAR) loses bytes where the drain returns before the other
  // end has read them: wine on a pseudo-terminal cut the header off a
  // block write that way, and the radio answered "Program Interrupt".
  Status drained = Drain();
  if (!drained) return drained;
  if (!PurgeComm(native_->handle, PURGE_RXABORT | PURGE_RXCLEAR)) {
    return IoError(device_, "purge", GetLastError());
  }
  return Ok{};
}

Result<std::size_t> SerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (!native_) return Error(device_, "the port is not open");
  if (bytes.empty()) return std::size_t{0};
  if (!native_->UseTimeouts(DriverTimeouts(profile_))) {
    return IoError(device_, "write", GetLastError());
  }
  OVERLAPPED ov{};
  ov.hEvent = native_->done;
  ResetEvent(native_->done);
  if (!WriteFile(native_->handle, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &ov)) {
    const DWORD failed = GetLastError();
    if (EndedByTimeOrCancel(failed)) return std::size_t{0};
    if (failed != ERROR_IO_PENDING) return IoError(device_, "write", failed);
  }
  // The driver ends the write at its time-out; this is a guard against a
  // driver that never reports.
  const auto give_up =
      std::chrono::steady_clock::now() + profile_.WriteTotal(bytes.size()) + kWriteReportGrace;
  DWORD error = 0;
  const DWORD written = native_->Finish(
      ov, static_cast<DWORD>(kWaitCallbackPeriod.count()),
      [&] { return std::chrono::steady_clock::now() < give_up; }, error);
  if (error != 0) return IoError(device_, "write", error);
  return static_cast<std::size_t>(written);
}

Result<std::size_t> SerialPort::Read(std::span<std::uint8_t> buffer) {
  if (!native_) return Error(device_, "the port is not open");
  DWORD wanted = static_cast<DWORD>(buffer.size());
  if (wanted == 0) return std::size_t{0};
  const COMMTIMEOUTS timeouts = DriverTimeouts(profile_);
  if (timeouts.ReadIntervalTimeout == MAXDWORD && timeouts.ReadTotalTimeoutConstant == 0) {
    // What has arrived, and not a byte more: the queue says how much that is.
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(native_->handle, &errors, &status)) {
      return IoError(device_, "read", GetLastError());
    }
    wanted = std::min(wanted, status.cbInQue);
    if (wanted == 0) return std::size_t{0};
  }
  if (!native_->UseTimeouts(timeouts)) return IoError(device_, "read", GetLastError());

  OVERLAPPED ov{};
  ov.hEvent = native_->done;
  ResetEvent(native_->done);
  if (!ReadFile(native_->handle, buffer.data(), wanted, nullptr, &ov)) {
    const DWORD failed = GetLastError();
    if (EndedByTimeOrCancel(failed)) return std::size_t{0};
    if (failed != ERROR_IO_PENDING) return IoError(device_, "read", failed);
  }
  // The driver ends the read at the profile's time-outs; meanwhile the
  // wait callback runs (the window's events, the user's cancel).
  DWORD error = 0;
  const DWORD got = native_->Finish(
      ov, static_cast<DWORD>(kWaitCallbackPeriod.count()),
      [this] { return !wait_callback_ || wait_callback_(); }, error);
  if (error != 0) return IoError(device_, "read", error);
  return static_cast<std::size_t>(got);
}

std::string PortAccessHint(const Error& error) {
  switch (static_cast<DWORD>(error.code())) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return "The port is in use by another program: close it and try again.";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return "This computer has no such port: the cable is unplugged or its driver is missing. "
             "Device Manager shows the ports there are under \"Ports (COM & LPT)\".";
    default:
      return {};
  }
}

}  // namespace zlm5
