// A PAPPL job's document embossed by the project's own embossing job: read
// by the document readers, its pages and refusals chosen as the command line
// chooses them, and sent with the same stream, Cancel and line handling.
#pragma once

extern "C" {
#include <pappl/pappl.h>
}

namespace tenji::server {

// The filter every document format goes through; true when the job ended
// well or was cancelled.
bool emboss_pappl_job(pappl_job_t* job, pappl_device_t* device, void* unused);

}  // namespace tenji::server
