#include "support/fake_comm.h"

#include <algorithm>

#include "serial/com_device_name.h"

namespace tenji::testing {

static thread_local std::int32_t fake_last_error = 0;

FakeCommApi::FakeCommApi() : installed_(comm_api_hook, this) {}

FakeDevice& FakeCommApi::device(int com_number) {
  std::lock_guard lock(mutex_);
  return devices_[com_number];
}

bool FakeCommApi::fail(std::int32_t error) {
  fake_last_error = error;
  return false;
}

std::int32_t FakeCommApi::get_last_error() { return fake_last_error; }

CommHandle FakeCommApi::create_file(const char* device_name) {
  std::lock_guard lock(mutex_);
  calls.push_back(std::string("create_file ") + device_name);
  const int com = com_number_from_device_name(device_name);
  auto it = devices_.find(com);
  if (com == 0 || it == devices_.end()) return fail(ERROR_FILE_NOT_FOUND_), INVALID_COMM_HANDLE;
  if (it->second.busy || it->second.open) return fail(ERROR_ACCESS_DENIED_), INVALID_COMM_HANDLE;
  it->second.open = true;
  return com;
}

// A line that is not held takes everything queued whenever it is asked.
bool FakeCommApi::clear_comm_error(CommHandle h, std::uint32_t* errors, ComStat* stat) {
  return on(h, [&](D& d) {
    if (d.gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
    if (!d.hold) d.line.append(d.queue.begin(), d.queue.end()), d.queue.clear();
    if (errors) *errors = std::exchange(d.next_errors, 0);
    if (stat) *stat = {0, static_cast<std::uint32_t>(d.queue.size())};
    return true;
  });
}

bool FakeCommApi::write_file(CommHandle h, const void* bytes, std::uint32_t n, std::uint32_t* written, Overlapped* ov) {
  if (written) *written = 0;
  return on(h, [&](D& d) {
    if (d.gone) return fail(ERROR_DEVICE_NOT_CONNECTED_);
    const std::uint32_t take = std::min(n, d.out_queue_size - static_cast<std::uint32_t>(d.queue.size()));
    const auto* p = static_cast<const unsigned char*>(bytes);
    d.queue.insert(d.queue.end(), p, p + take);
    if (written) *written = take;
    if (ov) ov->transferred = take;
    return true;
  });
}

}  // namespace tenji::testing
