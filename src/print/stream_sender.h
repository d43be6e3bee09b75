// What a print puts on the line, sent along the walk: the dot size before a
// page's first cell, every cell, the page end after every page. The job
// sends it to the port and the preview into memory, by this one code.
#pragma once

#include <string>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/command_stream.h"
#include "print/print_walk.h"

namespace tenji {

class StreamSender : public PrintVisitor {
 public:
  explicit StreamSender(const PrintSettings& settings);
  bool cell(const CellPlace& place) override;
  bool end_page(int copy, int page) override;

  // How the last send went; the walk stops at the first that did not.
  SendResult result = SendResult::sent;

 protected:
  bool sent(SendResult r) {
    result = r;
    return r == SendResult::sent;
  }

 private:
  const PrintSettings& s_;
  const int dx_, dy_;
};

// The whole stream of a print, reset to the closing CR, as the job would send
// it, without a port.
std::string print_stream(const PrintSettings& settings, const BrailleDocument& document, const WalkOptions& options);

}  // namespace tenji
