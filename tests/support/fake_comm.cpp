#include "support/fake_comm.h"

#include <algorithm>
#include <thread>

#include "serial/com_device_name.h"

namespace tenji::testing {

namespace {
thread_local std::int32_t fake_last_error = 0;

int yield_at_once(SerialPort*) {
  std::this_thread::yield();
  return 0;
}
}  // namespace

IdleHookOverride::IdleHookOverride(IdleHook hook) : scoped_(serial_driver_defaults.idle_hook, hook ? hook : yield_at_once) {}

FakeCommApi::FakeCommApi() : installed_(comm_api_hook, this) {}

FakeDevice& FakeCommApi::device(int com_number) {
  std::lock_guard lock(mutex_);
  return devices_[com_number];
}

bool FakeCommApi::fail(std::int32_t error) {
  fake_last_error = error;
  return false;
}

// Every call on an open handle: recorded by name (when given), under the lock.
template <typename F>
bool FakeCommApi::on(CommHandle h, const char* name, F&& f) {
  std::lock_guard lock(mutex_);
  if (name) calls.emplace_back(name);
  auto it = devices_.find(static_cast<int>(h));
  if (it == devices_.end() || !it->second.open) return fail(ERROR_INVALID_HANDLE_);
  return f(it->second);
}

void FakeCommApi::drain(FakeDevice& d) {
  if (d.hold || d.gone) return;
  const auto n = static_cast<std::ptrdiff_t>(std::min<std::size_t>(d.queue.size(), d.drain_per_query));
  d.line.append(d.queue.begin(), d.queue.begin() + n);
  d.queue.erase(d.queue.begin(), d.queue.begin() + n);
}

CommHandle FakeCommApi::create_file(const char* device_name) {
  std::lock_guard lock(mutex_);
  calls.push_back(std::string("create_file ") + device_name);
  const int com = com_number_from_device_name(device_name);
  auto it = devices_.find(com);
  if (com == 0 || it == devices_.end() || !it->second.exists) return fail(ERROR_FILE_NOT_FOUND_), INVALID_COMM_HANDLE;
  if (it->second.busy || it->second.open) return fail(ERROR_ACCESS_DENIED_), INVALID_COMM_HANDLE;
  it->second.open = true;
  return com;
}

bool FakeCommApi::setup_comm(CommHandle h, std::uint32_t, std::uint32_t out_queue) {
  return on(h, "setup_comm", [&](FakeDevice& d) { return d.out_queue_size = out_queue, true; });
}
bool FakeCommApi::get_comm_mask(CommHandle h, std::uint32_t* mask) {
  return on(h, "get_comm_mask", [&](FakeDevice&) { return *mask = 0x1FF, true; });
}
bool FakeCommApi::set_comm_mask(CommHandle h, std::uint32_t) {
  return on(h, "set_comm_mask", [](FakeDevice&) { return true; });
}
bool FakeCommApi::get_comm_state(CommHandle h, DCB* dcb) {
  return on(h, "get_comm_state", [&](FakeDevice& d) {
    *dcb = d.applied.empty() ? d.initial_dcb : d.applied.back();
    return true;
  });
}
bool FakeCommApi::set_comm_state(CommHandle h, const DCB* dcb) {
  return on(h, "set_comm_state", [&](FakeDevice& d) {
    if (d.refuse_set_state > 0) return --d.refuse_set_state, fail(ERROR_INVALID_PARAMETER_);
    d.applied.push_back(*dcb);
    return true;
  });
}
bool FakeCommApi::get_comm_timeouts(CommHandle h, CommTimeouts* t) {
  return on(h, "get_comm_timeouts", [&](FakeDevice& d) { return *t = d.timeouts, true; });
}
bool FakeCommApi::set_comm_timeouts(CommHandle h, const CommTimeouts* t) {
  return on(h, "set_comm_timeouts", [&](FakeDevice& d) { return d.timeouts = *t, true; });
}

bool FakeCommApi::clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) {
  return on(h, nullptr, [&](FakeDevice& d) {
    if (d.gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
    drain(d);
    if (errors) *errors = std::exchange(d.next_errors, 0);
    if (stat) *stat = {static_cast<std::uint32_t>(d.received.size()), static_cast<std::uint32_t>(d.queue.size())};
    return true;
  });
}

bool FakeCommApi::write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written, Overlapped* ov) {
  if (written) *written = 0;
  return on(h, nullptr, [&](FakeDevice& d) {
    if (d.gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
    const std::uint32_t take = std::min(n, d.out_queue_size - static_cast<std::uint32_t>(d.queue.size()));
    const auto* p = static_cast<const unsigned char*>(bytes);
    d.queue.insert(d.queue.end(), p, p + take);
    if (written) *written = take;
    if (ov) ov->transferred = take;
    return true;
  });
}

bool FakeCommApi::read_file(CommHandle h, void* buffer, std::uint32_t n, std::uint32_t* got, Overlapped* ov) {
  return on(h, "read_file", [&](FakeDevice& d) {
    const auto take = std::min<std::uint32_t>(n, static_cast<std::uint32_t>(d.received.size()));
    std::copy_n(d.received.begin(), take, static_cast<char*>(buffer));
    d.received.erase(0, take);
    if (got) *got = take;
    if (ov) ov->transferred = take;
    return true;
  });
}

bool FakeCommApi::get_overlapped_result(CommHandle h, Overlapped* ov, std::uint32_t* n, bool) {
  return on(h, "get_overlapped_result", [&](FakeDevice&) { return *n = ov ? ov->transferred : 0, true; });
}
bool FakeCommApi::get_comm_modem_status(CommHandle h, std::uint32_t* status) {
  return on(h, "get_comm_modem_status", [&](FakeDevice& d) {
    return d.modem_query_fails ? fail(ERROR_INVALID_PARAMETER_) : (*status = d.modem_status, true);
  });
}
bool FakeCommApi::purge_comm(CommHandle h, std::uint32_t flags) {
  return on(h, "purge_comm", [&](FakeDevice& d) {
    if (flags & PURGE_TXCLEAR) d.queue.clear();
    return ++d.purges, true;
  });
}
bool FakeCommApi::set_comm_break(CommHandle h) {
  return on(h, "set_comm_break", [](FakeDevice& d) { return ++d.breaks_set, true; });
}
bool FakeCommApi::clear_comm_break(CommHandle h) {
  return on(h, "clear_comm_break", [](FakeDevice& d) { return ++d.breaks_cleared, true; });
}
bool FakeCommApi::escape_comm_function(CommHandle h, std::uint32_t function) {
  return on(h, "escape_comm_function", [&](FakeDevice& d) { return d.escapes.push_back(function), true; });
}
bool FakeCommApi::close_handle(CommHandle h) {
  return on(h, "close_handle", [&](FakeDevice& d) { return d.open = false, d.close_fails ? fail(ERROR_GEN_FAILURE_) : true; });
}

std::int32_t FakeCommApi::get_last_error() { return fake_last_error; }

std::uint32_t FakeCommApi::get_version() {
  std::lock_guard lock(mutex_);
  return version;
}

std::uint32_t FakeCommApi::get_tick_count() {
  std::lock_guard lock(mutex_);
  return tick += tick_step;
}

}  // namespace tenji::testing
