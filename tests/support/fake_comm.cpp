#include "support/fake_comm.h"

#include <algorithm>
#include <thread>

#include "serial/com_device_name.h"

namespace tenji::testing {

namespace {
thread_local std::int32_t fake_last_error = 0;
}

int IdleHookOverride::yield_at_once(SerialPort*) {
  std::this_thread::yield();
  return 0;
}

IdleHookOverride::IdleHookOverride(IdleHook hook) : saved_(serial_driver_defaults.idle_hook) {
  serial_driver_defaults.idle_hook = hook;
}

IdleHookOverride::~IdleHookOverride() { serial_driver_defaults.idle_hook = saved_; }

FakeCommApi::FakeCommApi() { set_comm_api(this); }
FakeCommApi::~FakeCommApi() { set_comm_api(nullptr); }

FakeDevice& FakeCommApi::device(int com_number) {
  std::lock_guard lock(mutex_);
  return devices_[com_number];
}

FakeDevice* FakeCommApi::find(CommHandle h) {
  auto it = devices_.find(static_cast<int>(h));
  if (it == devices_.end() || !it->second.open) return nullptr;
  return &it->second;
}

bool FakeCommApi::fail(std::int32_t error) {
  fake_last_error = error;
  return false;
}

void FakeCommApi::drain(FakeDevice& d) {
  if (d.hold || d.gone) return;
  const std::size_t n = std::min<std::size_t>(d.queue.size(), d.drain_per_query);
  d.line.append(d.queue.begin(), d.queue.begin() + static_cast<std::ptrdiff_t>(n));
  d.queue.erase(d.queue.begin(), d.queue.begin() + static_cast<std::ptrdiff_t>(n));
}

CommHandle FakeCommApi::create_file(const char* device_name) {
  std::lock_guard lock(mutex_);
  calls.push_back(std::string("create_file ") + device_name);
  const int com = com_number_from_device_name(device_name);
  auto it = devices_.find(com);
  if (com == 0 || it == devices_.end() || !it->second.exists) {
    fail(ERROR_FILE_NOT_FOUND_);
    return INVALID_COMM_HANDLE;
  }
  if (it->second.busy || it->second.open) {
    fail(ERROR_ACCESS_DENIED_);
    return INVALID_COMM_HANDLE;
  }
  it->second.open = true;
  return com;
}

bool FakeCommApi::setup_comm(CommHandle h, std::uint32_t, std::uint32_t out_queue) {
  std::lock_guard lock(mutex_);
  calls.push_back("setup_comm");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  d->out_queue_size = out_queue;
  return true;
}

bool FakeCommApi::get_comm_mask(CommHandle h, std::uint32_t* mask) {
  std::lock_guard lock(mutex_);
  calls.push_back("get_comm_mask");
  if (!find(h)) return fail(ERROR_INVALID_HANDLE_);
  *mask = 0x1FF;
  return true;
}

bool FakeCommApi::set_comm_mask(CommHandle h, std::uint32_t) {
  std::lock_guard lock(mutex_);
  calls.push_back("set_comm_mask");
  return find(h) ? true : fail(ERROR_INVALID_HANDLE_);
}

bool FakeCommApi::get_comm_state(CommHandle h, DCB* dcb) {
  std::lock_guard lock(mutex_);
  calls.push_back("get_comm_state");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  *dcb = d->applied.empty() ? d->initial_dcb : d->applied.back();
  return true;
}

bool FakeCommApi::set_comm_state(CommHandle h, const DCB* dcb) {
  std::lock_guard lock(mutex_);
  calls.push_back("set_comm_state");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  if (d->refuse_set_state > 0) {
    --d->refuse_set_state;
    return fail(ERROR_INVALID_PARAMETER_);
  }
  d->applied.push_back(*dcb);
  return true;
}

bool FakeCommApi::get_comm_timeouts(CommHandle h, CommTimeouts* t) {
  std::lock_guard lock(mutex_);
  calls.push_back("get_comm_timeouts");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  *t = d->timeouts;
  return true;
}

bool FakeCommApi::set_comm_timeouts(CommHandle h, const CommTimeouts* t) {
  std::lock_guard lock(mutex_);
  calls.push_back("set_comm_timeouts");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  d->timeouts = *t;
  return true;
}

bool FakeCommApi::clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) {
  std::lock_guard lock(mutex_);
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  if (d->gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
  drain(*d);
  if (errors) *errors = d->next_errors;
  d->next_errors = 0;
  if (stat) {
    stat->cbInQue = static_cast<std::uint32_t>(d->received.size());
    stat->cbOutQue = static_cast<std::uint32_t>(d->queue.size());
  }
  return true;
}

bool FakeCommApi::write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written,
                             Overlapped* ov) {
  std::lock_guard lock(mutex_);
  FakeDevice* d = find(h);
  if (written) *written = 0;
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  if (d->gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
  const std::uint32_t room = d->out_queue_size - static_cast<std::uint32_t>(d->queue.size());
  const std::uint32_t take = std::min(n, room);
  const auto* p = static_cast<const unsigned char*>(bytes);
  d->queue.insert(d->queue.end(), p, p + take);
  if (written) *written = take;
  if (ov) ov->transferred = take;
  return true;
}

bool FakeCommApi::read_file(CommHandle h, void* buffer, std::uint32_t n, std::uint32_t* got, Overlapped* ov) {
  std::lock_guard lock(mutex_);
  calls.push_back("read_file");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  const std::uint32_t take = std::min<std::uint32_t>(n, static_cast<std::uint32_t>(d->received.size()));
  std::copy_n(d->received.begin(), take, static_cast<char*>(buffer));
  d->received.erase(0, take);
  if (got) *got = take;
  if (ov) ov->transferred = take;
  return true;
}

bool FakeCommApi::get_overlapped_result(CommHandle h, Overlapped* ov, std::uint32_t* n, bool) {
  std::lock_guard lock(mutex_);
  calls.push_back("get_overlapped_result");
  if (!find(h)) return fail(ERROR_INVALID_HANDLE_);
  *n = ov ? ov->transferred : 0;
  return true;
}

bool FakeCommApi::get_comm_modem_status(CommHandle h, std::uint32_t* status) {
  std::lock_guard lock(mutex_);
  calls.push_back("get_comm_modem_status");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  if (d->modem_query_fails) return fail(ERROR_INVALID_PARAMETER_);
  *status = d->modem_status;
  return true;
}

bool FakeCommApi::purge_comm(CommHandle h, std::uint32_t flags) {
  std::lock_guard lock(mutex_);
  calls.push_back("purge_comm " + std::to_string(flags));
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  if (flags & PURGE_TXCLEAR) d->queue.clear();
  ++d->purges;
  return true;
}

bool FakeCommApi::set_comm_break(CommHandle h) {
  std::lock_guard lock(mutex_);
  calls.push_back("set_comm_break");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  ++d->breaks_set;
  return true;
}

bool FakeCommApi::clear_comm_break(CommHandle h) {
  std::lock_guard lock(mutex_);
  calls.push_back("clear_comm_break");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  ++d->breaks_cleared;
  return true;
}

bool FakeCommApi::escape_comm_function(CommHandle h, std::uint32_t function) {
  std::lock_guard lock(mutex_);
  calls.push_back("escape_comm_function " + std::to_string(function));
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  d->escapes.push_back(function);
  return true;
}

bool FakeCommApi::close_handle(CommHandle h) {
  std::lock_guard lock(mutex_);
  calls.push_back("close_handle");
  FakeDevice* d = find(h);
  if (!d) return fail(ERROR_INVALID_HANDLE_);
  d->open = false;
  if (d->close_fails) return fail(ERROR_GEN_FAILURE_);
  return true;
}

std::int32_t FakeCommApi::get_last_error() { return fake_last_error; }

std::uint32_t FakeCommApi::get_version() {
  std::lock_guard lock(mutex_);
  return version;
}

std::uint32_t FakeCommApi::get_tick_count() {
  std::lock_guard lock(mutex_);
  tick += tick_step;
  return tick;
}

}  // namespace tenji::testing
