#include "printer_app/embosser_driver.h"

#include <cstring>
#include <string_view>

#include "printer_app/braille_print_job.h"
#include "printer_app/document_formats.h"
#include "printer_app/port_device.h"

namespace tenji::server {

namespace {

const char* recognise_document(const unsigned char* header, std::size_t size, void*) {
  return format_by_content(std::string_view(reinterpret_cast<const char*>(header), size));
}

}  // namespace

pappl_pr_driver_t* embosser_drivers() {
  static pappl_pr_driver_t drivers[] = {{DRIVER_NAME, DRIVER_DESCRIPTION, nullptr, nullptr}};
  return drivers;
}

bool embosser_driver(pappl_system_t*, const char* driver_name, const char*, const char*, pappl_pr_driver_data_t* data,
                     ipp_t** attrs, void*) {
  if (std::strcmp(driver_name, DRIVER_NAME) != 0) return false;
  // No raster: the documents go through the formats' filters only, and
  // images are not offered.
  data->format = NRK_FORMAT;
  data->raster_types = PAPPL_PWG_RASTER_TYPE_NONE;
  std::strncpy(data->make_and_model, DRIVER_DESCRIPTION, sizeof data->make_and_model - 1);
  data->ppm = 1;
  data->kind = PAPPL_KIND_DOCUMENT;
  data->color_supported = PAPPL_COLOR_MODE_MONOCHROME;
  data->color_default = PAPPL_COLOR_MODE_MONOCHROME;
  data->content_default = PAPPL_CONTENT_TEXT;
  data->quality_default = IPP_QUALITY_NORMAL;
  data->scaling_default = PAPPL_SCALING_NONE;
  data->sides_supported = PAPPL_SIDES_ONE_SIDED;
  data->sides_default = PAPPL_SIDES_ONE_SIDED;
  data->num_resolution = 1;
  data->x_resolution[0] = data->y_resolution[0] = 100;
  data->x_default = data->y_default = 100;
  data->left_right = data->bottom_top = 0;
  // The dot geometry and the paper come from the settings; these only
  // satisfy IPP.
  data->num_media = 2;
  data->media[0] = "iso_a4_210x297mm";
  data->media[1] = "iso_b5_176x250mm";
  std::strncpy(data->media_default.size_name, "iso_a4_210x297mm", sizeof data->media_default.size_name - 1);
  data->media_default.size_width = 21000;
  data->media_default.size_length = 29700;
  std::strncpy(data->media_default.source, "main", sizeof data->media_default.source - 1);
  std::strncpy(data->media_default.type, "stationery", sizeof data->media_default.type - 1);
  data->num_source = 1;
  data->source[0] = "main";
  data->media_ready[0] = data->media_default;
  data->num_type = 1;
  data->type[0] = "stationery";
  // One range of pages, as the command line's --pages.
  *attrs = ippNew();
  ippAddBoolean(*attrs, IPP_TAG_PRINTER, "page-ranges-supported", 1);
  return true;
}

void add_braille_printing(pappl_system_t* system) {
  for (const char* format : DOCUMENT_FORMATS) papplSystemAddMIMEFilter(system, format, NRK_FORMAT, emboss_pappl_job, nullptr);
  papplSystemSetMIMECallback(system, recognise_document, nullptr);
  add_port_device_scheme();
}

}  // namespace tenji::server
