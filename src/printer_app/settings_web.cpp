#include "printer_app/settings_web.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "config/layout_rules.h"
#include "config/settings_file.h"
#include "platform/bounded_file.h"
#include "printer_app/device_uri.h"
#include "printer_app/server_config.h"
#include "printer_app/settings_form.h"
#include "serial/port_list.h"

namespace tenji::server {

namespace {

constexpr const char* BRS_OPEN_FAILED = "設定ファイルを開けませんでした。";

bool respond_with(pappl_client_t* client, http_status_t status, const char* type, const std::string& body) {
  if (!papplClientRespond(client, status, nullptr, type, 0, body.size())) return false;
  return httpWrite2(papplClientGetHTTP(client), body.data(), body.size()) >= 0;
}

Form form_of(pappl_client_t* client, bool& valid) {
  cups_option_t* options = nullptr;
  const int count = papplClientGetForm(client, &options);
  Form form;
  for (int i = 0; i < count; ++i) form[options[i].name] = options[i].value;
  valid = papplClientGetMethod(client) != HTTP_STATE_POST || papplClientIsValidForm(client, count, options);
  cupsFreeOptions(count, options);
  return form;
}

bool from_this_machine(pappl_client_t* client) {
  const http_addr_t* peer = httpGetAddress(papplClientGetHTTP(client));
  return peer && httpAddrLocalhost(peer);
}

// The administrator is known by PAPPL's own means: an authentication
// service (-o auth-service=…) or the web password of its Security page.
bool administrator_configured(pappl_system_t* system) {
  char password[256] = "";
  return papplSystemGetAuthService(system) != nullptr || *papplSystemGetPassword(system, password, sizeof password);
}

void add_port_line(pappl_printer_t* printer, void* data) {
  auto& lines = *static_cast<std::vector<PortLine>*>(data);
  const char* uri = papplPrinterGetDeviceURI(printer);
  const int com = com_number_of_device_uri(uri);
  std::string description = uri ? uri : "";
  if (com != 0) {
    const std::string found = port_label(com);
    description = "COM" + std::to_string(com) + (found.empty() ? "（見つかりません）" : "（" + found + "）");
  }
  lines.push_back({papplPrinterGetName(printer), description});
}

PageState page_state(pappl_client_t* client) {
  PageState page;
  page.settings_path = server_config().settings_path;
  ensure_settings_file_at(page.settings_path);
  load_all_keys(page.settings_path, page.settings);
  char token[256] = "";
  page.csrf_token = papplClientGetCSRFToken(client, token, sizeof token);
  page.may_change = from_this_machine(client);
  papplSystemIteratePrinters(papplClientGetSystem(client), add_port_line, &page.ports);
  return page;
}

void save(const Form& form, PageState& page) {
  PrintSettings settings = page.settings;
  const FormRead read = read_settings_form(form, settings);
  page.message_is_error = true;
  if (read.failed_check != 0) {
    page.message = read.message;
    page.typed = form;
    return;
  }
  if (!save_layout_keys(page.settings_path, settings) ||
      !save_port_keys(page.settings_path, settings.COM_PORT, settings.COM_SPEED, settings.COM_FLOW)) {
    page.message = settings_write_failed(page.settings_path);
    page.typed = form;
    return;
  }
  page.settings = settings;
  page.message = "保存しました。" + capacity_message(settings.CPL, settings.LPP) + " 次の印刷から使います。";
  page.message_is_error = false;
}

void upload(const Form& form, PageState& page) {
  page.message_is_error = true;
  const auto file = form.find("brs");
  if (file == form.end() || file->second.empty()) {
    page.message = "読み込む .brs ファイルを選んでください。";
    return;
  }
  PrintSettings loaded = page.settings;
  const SettingsRead read = load_layout_keys(file->second, loaded);
  if (read.file != platform::FileCheck::ok) {
    page.message = std::string(BRS_OPEN_FAILED) + "（" + platform::file_check_text(read.file) + "）";
    return;
  }
  if (!save_layout_keys(page.settings_path, loaded)) {
    page.message = settings_write_failed(page.settings_path);
    return;
  }
  page.settings = loaded;
  page.message = "読み込んで保存しました。" + capacity_message(loaded.CPL, loaded.LPP);
  page.message_is_error = false;
}

bool settings_page(pappl_client_t* client, void*) {
  PageState page = page_state(client);
  if (papplClientGetMethod(client) == HTTP_STATE_POST) {
    bool valid = false;
    const Form form = form_of(client, valid);
    if (!page.may_change) {
      // Another host: only the administrator, and only when there is one.
      if (!administrator_configured(papplClientGetSystem(client))) {
        page.message = "ほかのコンピューターから設定を変えるには、管理者のパスワードが要ります。"
                       "点字プリンターのコンピューターで設定してください。";
        page.message_is_error = true;
        return respond_with(client, HTTP_STATUS_FORBIDDEN, "text/html; charset=utf-8", settings_page_html(page));
      }
      if (!papplClientHTMLAuthorize(client)) return true;  // it has answered
      page.may_change = true;
    }
    if (!valid) {
      page.message = "ページが古くなりました。もう一度開いてから保存してください。";
      page.message_is_error = true;
    } else if (form.count("action") && form.at("action") == "upload") {
      upload(form, page);
    } else {
      save(form, page);
    }
  }
  return respond_with(client, HTTP_STATUS_OK, "text/html; charset=utf-8", settings_page_html(page));
}

bool live_values(pappl_client_t* client, void*) {
  PrintSettings saved;
  load_all_keys(server_config().settings_path, saved);
  bool valid = false;
  return respond_with(client, HTTP_STATUS_OK, "application/json", live_values_json(form_of(client, valid), saved));
}

bool brs_download(pappl_client_t* client, void*) {
  PrintSettings settings;
  load_all_keys(server_config().settings_path, settings);
  // The settings file's writer makes the .brs; each download its own file.
  std::string temp = std::string(papplGetTempDir()) + "/tenjiprint-download-XXXXXX";
  std::string body;
  const int fd = ::mkstemp(temp.data());
  if (fd >= 0) {
    ::close(fd);
    if (save_layout_keys(temp, settings)) {
      std::ifstream in(temp, std::ios::binary);
      body.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::remove(temp.c_str());
  }
  if (body.empty()) return respond_with(client, HTTP_STATUS_SERVER_ERROR, "text/plain; charset=utf-8", BRS_OPEN_FAILED);
  return respond_with(client, HTTP_STATUS_OK, "application/octet-stream", body);
}

}  // namespace

void add_settings_page(pappl_system_t* system) {
  papplSystemAddResourceCallback(system, "/tenjiprint", "text/html", settings_page, nullptr);
  papplSystemAddResourceCallback(system, "/tenjiprint/live", "application/json", live_values, nullptr);
  papplSystemAddResourceCallback(system, "/tenjiprint/tenjiprint.brs", "application/octet-stream", brs_download, nullptr);
  papplSystemAddLink(system, "点字の設定", "/tenjiprint",
                     static_cast<pappl_loptions_t>(PAPPL_LOPTIONS_NAVIGATION | PAPPL_LOPTIONS_CONFIGURATION));
}

}  // namespace tenji::server
