// Message boxes and file dialogs of Qt.
#include "ui/ui_services.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QStringList>
#include <QTreeView>

#include "platform/executable_path.h"
#include "ui/file_filter.h"
#include "ui/qt/dialog_qt.h"
#include "ui/qt/focus_return_qt.h"

namespace tenji::ui {

namespace {

// Boxes open centred over the window they belong to, or over the nearest
// one on screen while it is still hidden (the printing window before its job).
QWidget* owner_window(Dialog* owner) { return visible_window(owner); }

// The kinds of files in the file dialog's list, in Japanese: Qt's own
// Japanese texts lack them ("Folder", "NRK File").
class JapaneseFileKinds final : public QFileIconProvider {
 public:
  QString type(const QFileInfo& info) const override {
    if (info.isRoot()) return QStringLiteral("ドライブ");
    if (info.isDir()) return QStringLiteral("フォルダー");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("ファイル") : suffix.toUpper() + QStringLiteral(" ファイル");
  }
};

// The file dialog; where it is Qt's own, with the kinds in Japanese and the
// size, kind and date columns as wide as what they show.
class FileDialog final : public QFileDialog {
 public:
  FileDialog(QWidget* parent, const std::string& filter)
      : QFileDialog(parent, QString(), QString(), QString::fromStdString(qt_file_filter(filter))) {
    setIconProvider(&kinds_);
    setViewMode(QFileDialog::Detail);
  }

 protected:
  // Qt makes the dialog's widgets when it first shows them.
  void showEvent(QShowEvent* event) override {
    QFileDialog::showEvent(event);
    if (auto* details = findChild<QTreeView*>(QStringLiteral("treeView"))) {
      QHeaderView* header = details->header();
      header->setStretchLastSection(false);
      header->setSectionResizeMode(0, QHeaderView::Stretch);
      for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
  }

 private:
  JapaneseFileKinds kinds_;
};

class DesktopServices final : public UiServices {
 public:
  int message_box(Dialog* owner, const std::string& text, const std::string& caption, platform::MessageIcon icon,
                  MessageButtons buttons) override {
    QMessageBox box(owner_window(owner));
    box.setWindowTitle(QString::fromStdString(caption.empty() ? platform::application_title() : caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
      case platform::MessageIcon::error: box.setIcon(QMessageBox::Critical); break;
      case platform::MessageIcon::warning: box.setIcon(QMessageBox::Warning); break;
      case platform::MessageIcon::information: box.setIcon(QMessageBox::Information); break;
      case platform::MessageIcon::none: box.setIcon(QMessageBox::NoIcon); break;
    }
    box.setStandardButtons(buttons == MessageButtons::ok_cancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                                : QMessageBox::Ok);
    FocusReturn focus_return;
    return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
  }

  std::optional<std::string> open_file(Dialog* owner, const std::string& filter) override {
    FileDialog dialog(owner_window(owner), filter);
    dialog.setWindowTitle(QStringLiteral("開く"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    FocusReturn focus_return;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
  }

  std::optional<std::string> save_file(Dialog* owner, const std::string& filter) override {
    // A name typed without an extension gets the filter's, and an existing
    // file is only replaced when the user says so.
    FileDialog dialog(owner_window(owner), filter);
    dialog.setWindowTitle(QStringLiteral("名前を付けて保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(default_extension(filter)));
    FocusReturn focus_return;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
  }
};

}  // namespace

UiServices& window_system_services() {
  static DesktopServices desktop;
  return desktop;
}

std::string qt_file_filter(const std::string& filter) {
  const std::vector<std::string> parts = filter_fields(filter);
  std::string out;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty()) break;
    std::string pattern = parts[i + 1] == "*.*" ? "*" : parts[i + 1];
    for (auto& c : pattern)
      if (c == ';') c = ' ';
    // Qt reads the patterns from the parentheses: a label that shows its own
    // (as Windows labels do) gives way to ours.
    std::string label = parts[i];
    if (const std::size_t open = label.rfind(" ("); open != std::string::npos && label.back() == ')') label.resize(open);
    if (!out.empty()) out += ";;";
    out += label + " (" + pattern + ")";
  }
  return out;
}

}  // namespace tenji::ui
