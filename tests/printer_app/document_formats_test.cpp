#include <gtest/gtest.h>

#include <string>

#include "printer_app/device_uri.h"
#include "printer_app/document_formats.h"

namespace tenji::server {
namespace {

TEST(DocumentFormats, ContentDecidesForOctetStream) {
  struct Case {
    std::string head;
    const char* format;  // nullptr: refused
  };
  const Case cases[] = {
      {"%NRQ\x01\x00", NRK_FORMAT},
      {"<?xml version=\"1.0\"?><pef", PEF_FORMAT},
      {"\xEF\xBB\xBF  \n<pef xmlns=\"http://www.daisy.org/ns/2008/pef\">", PEF_FORMAT},
      {"\xE2\xA0\x81\xE2\xA0\x83\n", TEXT_FORMAT},
      {std::string("\xFF\xFE\x01\x28\x0A\x00", 6), TEXT_FORMAT},  // UTF-16 with its mark
      {"A B C\r\n\fDEF\n", BRF_FORMAT},
      {"%PDF-1.7\n", nullptr},
      {"%!PS-Adobe-3.0\n", nullptr},
      {"\x89PNG\r\n\x1A\n", nullptr},
      {"\xFF\xD8\xFF\xE0", nullptr},
      {"RaS2PwgRaster", nullptr},
      {"UNIRAST", nullptr},
      {std::string("AB\0CD", 5), nullptr},  // control bytes are no BRF
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const char* got = format_by_content(c.head);
    EXPECT_STREQ(got, c.format) << "head: " << c.head;
  }
}

TEST(DocumentFormats, EachFormatIsReadAsWhatItNames) {
  EXPECT_EQ(extension_for_format("application/x-nrk"), ".nrk");
  EXPECT_EQ(extension_for_format("application/vnd.cups-brf"), ".brf");
  EXPECT_EQ(extension_for_format("application/x-pef+xml"), ".pef");
  EXPECT_EQ(extension_for_format("text/plain;charset=utf-8"), ".txt");
  EXPECT_EQ(extension_for_format("text/plain"), ".txt");
  EXPECT_EQ(extension_for_format("application/octet-stream"), "");
  EXPECT_EQ(extension_for_format("image/png"), "");
}

TEST(DeviceUri, NamesOneComNumber) {
  struct Case {
    const char* uri;
    int com;
  };
  const Case cases[] = {
      {"tenjiprint:///COM1", 1},     {"tenjiprint:///COM12", 12},   {"tenjiprint:///COM9999", 9999},
      {"tenjiprint:///COM10000", 0}, {"tenjiprint:///COM0", 0},     {"tenjiprint:///COM", 0},
      {"tenjiprint:///COM3x", 0},    {"tenjiprint:///com3", 0},     {"serial:///COM3", 0},
      {"tenjiprint:///COM99999999999", 0}, {nullptr, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(com_number_of_device_uri(c.uri), c.com) << (c.uri ? c.uri : "null");
  EXPECT_EQ(device_uri_for_com(7), "tenjiprint:///COM7");
}

}  // namespace
}  // namespace tenji::server
