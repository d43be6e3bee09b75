#include "ui/dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QSignalBlocker>
#include <QEvent>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScreen>
#include <QTimer>
#include <QValidator>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include "platform/debug_output.h"
#include "resources/dialog_template.h"
#include "ui/qt/accessibility_qt.h"
#include "ui/qt/dialog_qt.h"
#include "ui/qt/focus_return_qt.h"
#include "ui/qt/resource_images.h"
#include "ui/spoken_text.h"
#include "ui/ui_services.h"

namespace tenji::ui {

namespace {

using resources::ControlKind;
using resources::ControlTemplate;

const QEvent::Type MESSAGE_EVENT = static_cast<QEvent::Type>(QEvent::registerEventType());

struct MessageEvent : QEvent {
  MessageEvent(unsigned m, std::uintptr_t w, std::intptr_t l) : QEvent(MESSAGE_EVENT), message(m), wparam(w), lparam(l) {}
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
};

// What the user may type: at most `limit` characters, digits only if asked.
// The full-width digits a Japanese input method gives become ASCII ones, as
// in the Windows backend. Texts the program sets bypass it, as with a
// Windows edit's text limit.
class TypingRule : public QValidator {
 public:
  TypingRule(QObject* parent, bool digits_only) : QValidator(parent), digits_only_(digits_only) {}
  void set_limit(int limit) { limit_ = limit; }
  State validate(QString& input, int&) const override {
    if (limit_ > 0 && input.size() > limit_) return Invalid;
    if (digits_only_)
      for (QChar& c : input) {
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) c = QChar('0' + (c.unicode() - 0xFF10));
        if (c < '0' || c > '9') return Invalid;
      }
    return Acceptable;
  }

 private:
  bool digits_only_;
  int limit_ = 0;
};

// The control Windows gives the focus to when a dialog does not choose one.
QWidget* first_tab_stop(QWidget* window) {
  for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window)) return w;
  return nullptr;
}

QString without_mnemonic(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.remove(QRegularExpression(R"(\(&.\))"));
  s.remove('&');
  return s;
}

// The letter after '&', upper case; null without one.
QChar mnemonic_of(const std::string& text) {
  const QString s = QString::fromStdString(text);
  const qsizetype at = s.indexOf('&');
  return at >= 0 && at + 1 < s.size() ? s.at(at + 1).toUpper() : QChar();
}

bool is_field(ControlKind k) { return k == ControlKind::edit || k == ControlKind::drop_down_list; }

// The label that names a field: the one just left of it on its row, else the
// one just above it.
const ControlTemplate* label_for(const std::vector<ControlTemplate>& controls, const ControlTemplate& field) {
  const ControlTemplate* best = nullptr;
  int best_gap = 1 << 30;
  const int mid_y = field.rect.y + std::min(field.rect.height, 14) / 2;
  for (const auto& c : controls) {
    if (!is_label(c.kind) || c.text.empty()) continue;
    const int gap = field.rect.x - (c.rect.x + c.rect.width);
    if (gap >= -2 && gap <= 12 && c.rect.y - 3 <= mid_y && mid_y <= c.rect.y + c.rect.height + 3 && gap < best_gap) {
      best = &c;
      best_gap = gap;
    }
  }
  if (best) return best;
  for (const auto& c : controls) {
    if (!is_label(c.kind) || c.text.empty()) continue;
    const int gap = field.rect.y - (c.rect.y + c.rect.height);
    const bool overlaps = c.rect.x < field.rect.x + field.rect.width && field.rect.x < c.rect.x + c.rect.width;
    if (overlaps && gap >= -1 && gap <= 10 && gap < best_gap) {
      best = &c;
      best_gap = gap;
    }
  }
  return best;
}

}  // namespace

class DialogWindow;

// The template's keys, taken before the control that has the focus sees them
// (a text field would move its cursor on PageDown or Home).
class AcceleratorFilter : public QObject {
 public:
  AcceleratorFilter(QWidget* window, const std::vector<resources::Accelerator>& keys, std::function<void(int)> run)
      : QObject(window), window_(window), keys_(keys), run_(std::move(run)) {
    qApp->installEventFilter(this);
  }
  ~AcceleratorFilter() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* target, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(target);
    if (!w || w->window() != window_) return false;
    const auto* k = static_cast<QKeyEvent*>(e);
    const bool ctrl = (k->modifiers() & Qt::ControlModifier) != 0;
    if (k->modifiers() & Qt::AltModifier) return false;
    for (const auto& a : keys_) {
      if (a.ctrl != ctrl || !matches(a.key, k->key())) continue;
      run_(a.command);
      return true;
    }
    return false;
  }

 private:
  static bool matches(resources::Key key, int qt_key) {
    switch (key) {
      case resources::Key::page_up: return qt_key == Qt::Key_PageUp;
      case resources::Key::page_down: return qt_key == Qt::Key_PageDown;
      case resources::Key::home: return qt_key == Qt::Key_Home;
      case resources::Key::end: return qt_key == Qt::Key_End;
      case resources::Key::plus: return qt_key == Qt::Key_Plus || qt_key == Qt::Key_Equal;
      case resources::Key::minus: return qt_key == Qt::Key_Minus;
    }
    return false;
  }
  QWidget* window_;
  std::vector<resources::Accelerator> keys_;
  std::function<void(int)> run_;
};

struct Dialog::Impl {
  Dialog* owner = nullptr;
  const resources::DialogTemplate* tmpl = nullptr;
  DialogWindow* window = nullptr;
  QMenuBar* menu_bar = nullptr;
  DialogUnits units;
  std::map<int, QWidget*> items;
  std::map<int, const ControlTemplate*> controls;
  std::map<int, TypingRule*> rules;
  std::map<QLabel*, QWidget*> names;  // a label and the field it names
  bool ended = false;
  bool in_loop = false;
  int result = 0;

  void build();
  void cancel_from_window() { owner->on_cancel(); }
  void ok_from_window() { owner->on_ok(); }
  void deliver(MessageEvent* e) { owner->window_proc(e->message, e->wparam, e->lparam); }
  void notify(int id, int code) { owner->on_command(id, code); }
};

class DialogWindow : public QDialog {
 public:
  DialogWindow(Dialog::Impl* impl, QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags), impl_(impl) {}

  bool event(QEvent* e) override {
    if (e->type() == MESSAGE_EVENT) {
      impl_->deliver(static_cast<MessageEvent*>(e));
      return true;
    }
    return QDialog::event(e);
  }
  void reject() override { impl_->cancel_from_window(); }  // Escape
  void accept() override { impl_->ok_from_window(); }

 protected:
  void closeEvent(QCloseEvent* e) override {
    e->ignore();  // the dialog decides through its cancel operation
    impl_->cancel_from_window();
  }

 private:
  Dialog::Impl* impl_;
};

void Dialog::Impl::build() {
  const auto& t = *tmpl;
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (t.style.system_menu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (t.style.minimize_box) flags |= Qt::WindowMinimizeButtonHint;
  QWidget* parent_window = owner->parent() ? owner->parent()->impl().window : nullptr;
  window = new DialogWindow(this, parent_window, flags);
  window->setWindowTitle(QString::fromStdString(t.caption));
  const QFont font = dialog_font(t.font_face, t.font_points);
  window->setFont(font);
  units = dialog_units_for(font);

  int top = 0;
  QString menu_letters;  // the mnemonics of the menu bar's own entries
  if (t.menu_id) {
    menu_bar = new QMenuBar(window);
    menu_bar->setNativeMenuBar(false);
    for (const auto& entry : resources::menu_template(t.menu_id).bar) {
      menu_letters += mnemonic_of(entry.text);
      if (entry.items.empty()) {
        QAction* a = menu_bar->addAction(QString::fromStdString(entry.text));
        const int cmd = entry.command;
        QObject::connect(a, &QAction::triggered, window, [this, cmd] { notify(cmd, 0); });
        continue;
      }
      QMenu* menu = menu_bar->addMenu(QString::fromStdString(entry.text));
      for (const auto& item : entry.items) {
        QAction* a = menu->addAction(QString::fromStdString(item.text));
        const int cmd = item.command;
        QObject::connect(a, &QAction::triggered, window, [this, cmd] { notify(cmd, 0); });
      }
    }
    menu_bar->adjustSize();
    top = menu_bar->sizeHint().height();
    menu_bar->setGeometry(0, 0, units.x(t.width), top);
  }

  QWidget* previous_focusable = nullptr;
  std::vector<std::pair<const ControlTemplate*, QLabel*>> labels;
  for (const auto& c : t.controls) {
    QWidget* w = nullptr;
    const QString text = QString::fromStdString(c.text);
    switch (c.kind) {
      case ControlKind::push_button:
      case ControlKind::default_push_button: {
        auto* b = new QPushButton(text, window);
        b->setDefault(c.kind == ControlKind::default_push_button);
        const int id = c.id;
        QObject::connect(b, &QPushButton::clicked, window, [this, id] { notify(id, BN_CLICKED); });
        b->setAccessibleName(without_mnemonic(c.text));
        // A button that shares its letter with the menu bar leaves the key to
        // the menu bar, which runs the same command at one press (two
        // owners of one key would take a press each).
        const QChar letter = mnemonic_of(c.text);
        if (!letter.isNull() && menu_letters.contains(letter)) b->setShortcut(QKeySequence());
        w = b;
        break;
      }
      case ControlKind::static_left:
      case ControlKind::static_right: {
        auto* l = new QLabel(text, window);
        l->setAlignment((c.kind == ControlKind::static_right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        l->setTextFormat(Qt::PlainText);
        l->setAccessibleName(spoken_text(c, text));
        labels.emplace_back(&c, l);
        w = l;
        break;
      }
      case ControlKind::edit: {
        if (c.multi_line) {
          auto* t = new QPlainTextEdit(window);
          t->setReadOnly(true);
          t->setLineWrapMode(QPlainTextEdit::NoWrap);
          // Still moved through with the keyboard, as a screen reader needs.
          t->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
          t->setTabChangesFocus(true);
          w = t;
          break;
        }
        auto* e = new QLineEdit(window);
        if (c.edit_style & resources::ES_RIGHT_ALIGNED) e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFrame((c.edit_style & resources::ES_BORDER) != 0);
        e->setReadOnly(c.read_only);
        if (!c.meaning.empty()) e->setAccessibleName(QString::fromStdString(c.meaning));
        if (!c.unit.empty()) e->setAccessibleDescription(QString::fromStdString(unit_description(c)));
        auto* rule = new TypingRule(e, (c.edit_style & resources::ES_DIGITS_ONLY) != 0);
        e->setValidator(rule);
        rules[c.id] = rule;
        const int id = c.id;
        QObject::connect(e, &QLineEdit::textChanged, window, [this, id] { notify(id, EN_CHANGE); });
        w = e;
        break;
      }
      case ControlKind::drop_down_list: {
        auto* box = new QComboBox(window);
        for (const auto& item : c.items) box->addItem(QString::fromStdString(item));
        box->setCurrentIndex(-1);
        const int id = c.id;
        QObject::connect(box, &QComboBox::currentIndexChanged, window, [this, id] { notify(id, CBN_SELCHANGE); });
        w = box;
        break;
      }
      case ControlKind::progress_bar: {
        auto* bar = new QProgressBar(window);
        bar->setRange(0, 1000);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setAccessibleName(text);
        w = bar;
        break;
      }
      case ControlKind::page_view: {
        auto* area = new QScrollArea(window);
        auto* picture = new QLabel(area);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        area->setWidget(picture);
        area->setWidgetResizable(false);
        area->setFocusPolicy(Qt::NoFocus);
        area->setAccessibleName(QString::fromStdString(picture_words(c).name));
        w = area;
        break;
      }
      case ControlKind::picture: {
        auto* l = new QLabel(window);
        const QImage image = resource_bitmap(c.image_id);
        l->setPixmap(QPixmap::fromImage(image));
        l->setAccessibleName(QString::fromStdString(picture_words(c).name));
        l->setAccessibleDescription(QString::fromStdString(picture_words(c).description));
        w = l;
        // A picture control takes the size of its bitmap.
        w->setGeometry(units.x(c.rect.x), top + units.y(c.rect.y), image.width(), image.height());
        break;
      }
    }
    if (c.kind != ControlKind::picture) {
      // A drop-down list's rectangle includes its opened list; the closed box
      // is as high as an edit.
      const int h = c.kind == ControlKind::drop_down_list ? std::min(c.rect.height, 13) : c.rect.height;
      int width = units.x(c.rect.width);
      if (auto* l = qobject_cast<QLabel*>(w)) {
        if (c.rect.height >= 16) {
          l->setWordWrap(true);  // a two-line heading
        } else if (c.kind == ControlKind::static_left) {
          // The fallback font runs wider than the original one: a one-line
          // text takes the room it needs, as far as the window reaches.
          const int room = units.x(t.width) - units.x(c.rect.x) - units.x(4);
          width = std::max(width, std::min(l->sizeHint().width(), room));
        }
      }
      w->setGeometry(units.x(c.rect.x), top + units.y(c.rect.y), width, units.y(h));
    }
    if (c.id != resources::NO_ID) {
      items[c.id] = w;
      controls[c.id] = &c;
    }
    if (w->focusPolicy() != Qt::NoFocus) {
      if (previous_focusable) QWidget::setTabOrder(previous_focusable, w);
      previous_focusable = w;
    }
  }
  // Fields are named by the label beside or above them, for screen readers
  // and for the label's mnemonic.
  for (const auto& c : t.controls) {
    if (!is_field(c.kind)) continue;
    const ControlTemplate* l = label_for(t.controls, c);
    if (!l) continue;
    for (auto& [tc, widget] : labels)
      if (tc == l) {
        widget->setBuddy(items[c.id]);
        names[widget] = items[c.id];
      }
    items[c.id]->setAccessibleName(without_mnemonic(l->text));
  }
  // A value display is tied to the field whose value it shows.
  for (auto& [tc, widget] : labels)
    if (tc->field != resources::NO_ID && items.count(tc->field)) widget->setBuddy(items[tc->field]);
  if (!t.alert.empty()) mark_alert(window, QString::fromStdString(t.alert));
  if (!t.accelerators.empty()) new AcceleratorFilter(window, t.accelerators, [this](int cmd) { notify(cmd, 0); });
  window->setFixedSize(units.x(t.width), top + units.y(t.height));
}

Dialog::Dialog(int template_id, Dialog* parent) : template_id_(template_id), parent_(parent), impl_(new Impl) {
  impl_->owner = this;
  impl_->tmpl = &resources::dialog_template(template_id);
  impl_->build();
}

Dialog::~Dialog() {
  // Messages still queued for the window go with it.
  delete impl_->window;
}

int Dialog::do_modal() {
  Impl& d = *impl_;
  d.ended = false;
  d.result = 0;
  on_init_dialog();
  // Messages posted during the initialisation are handled before the window
  // is shown, so a dialog that ended there never appears.
  QCoreApplication::sendPostedEvents(d.window, MESSAGE_EVENT);
  if (d.ended) return d.result;
  place_window(d.window, parent_ ? visible_window(parent_) : nullptr, parent_ != nullptr);
  QTimer::singleShot(0, d.window, [this] {
    if (impl_->ended) return;
    // As a Windows dialog does: without a focus of the dialog's choosing
    // the first control in tab order has it, and the field that has the
    // focus at the start has its text selected, so typing replaces it.
    QWidget* focus = impl_->window->focusWidget();
    if (!focus && (focus = first_tab_stop(impl_->window))) focus->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(focus)) e->selectAll();
    if (!impl_->tmpl->alert.empty()) announce_alert(impl_->window);
    notify_dialog_shown(*this);
  });
  d.in_loop = true;
  FocusReturn focus_return;
  d.window->exec();
  d.in_loop = false;
  return d.result;
}

void Dialog::end_dialog(int result) {
  Impl& d = *impl_;
  d.result = result;
  d.ended = true;
  if (d.in_loop) d.window->done(result);
}

bool Dialog::ended() const { return impl_->ended; }

void Dialog::post_message(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  QCoreApplication::postEvent(impl_->window, new MessageEvent(message, wparam, lparam));
}

std::string Dialog::item_text(int id) const {
  QWidget* w = dialog_item(*this, id);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* t = qobject_cast<QPlainTextEdit*>(w)) return t->toPlainText().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* b = qobject_cast<QPushButton*>(w)) return b->text().toStdString();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
  return {};
}

std::string Dialog::item_text_limited(int id, int buffer) const {
  const QString text = QString::fromStdString(item_text(id));
  return text.left(std::max(0, buffer - 1)).toStdString();
}

void Dialog::set_item_text(int id, const std::string& text) {
  QWidget* w = dialog_item(*this, id);
  const QString s = QString::fromStdString(text);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(s);
  else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
    t->setPlainText(s);
    t->moveCursor(QTextCursor::Start);
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(s);
    l->setAccessibleName(spoken_text(*impl_->controls.at(id), s));
    // The field it names is named anew: a screen reader reads the focused
    // field's new name (a page turned in the preview).
    if (auto named = impl_->names.find(l); named != impl_->names.end())
      named->second->setAccessibleName(without_mnemonic(text));
  } else if (auto* b = qobject_cast<QPushButton*>(w)) b->setText(s);
}

void Dialog::set_item_picture(int id, const resources::Pixels& pixels) {
  auto* area = qobject_cast<QScrollArea*>(dialog_item(*this, id));
  if (!area) return;
  auto* picture = static_cast<QLabel*>(area->widget());
  const QImage image(reinterpret_cast<const uchar*>(pixels.argb.data()), pixels.width, pixels.height,
                     pixels.width * 4, QImage::Format_ARGB32);
  picture->setPixmap(QPixmap::fromImage(image.copy()));
  picture->resize(pixels.width, pixels.height);
}

Dialog::PixelSize Dialog::item_pixel_size(int id) const {
  QWidget* w = dialog_item(*this, id);
  if (auto* area = qobject_cast<QScrollArea*>(w)) return {area->viewport()->width(), area->viewport()->height()};
  return w ? PixelSize{w->width(), w->height()} : PixelSize{};
}

double Dialog::screen_dpi() const {
  const QScreen* screen = impl_->window->screen();
  return screen ? screen->logicalDotsPerInch() : 96.0;
}

void Dialog::set_item_text_unspoken(int id, const std::string& text) {
  if (auto* l = qobject_cast<QLabel*>(dialog_item(*this, id)))
    l->setText(QString::fromStdString(text));  // the accessible name stays
  else
    set_item_text(id, text);
}

void Dialog::limit_text(int id, int characters) {
  auto it = impl_->rules.find(id);
  if (it != impl_->rules.end())
    it->second->set_limit(characters);
  else
    dialog_item(*this, id);  // reports a control that is not there
}

void Dialog::enable_item(int id, bool enabled) {
  if (QWidget* w = dialog_item(*this, id)) w->setEnabled(enabled);
}

void Dialog::show_item(int id, bool shown) {
  if (QWidget* w = dialog_item(*this, id)) w->setVisible(shown);
}

bool Dialog::item_enabled(int id) const {
  QWidget* w = dialog_item(*this, id);
  return w && w->isEnabled();
}

bool Dialog::item_shown(int id) const {
  QWidget* w = dialog_item(*this, id);
  return w && !w->isHidden();
}

int Dialog::cur_sel(int id) const {
  auto* c = qobject_cast<QComboBox*>(dialog_item(*this, id));
  return c ? c->currentIndex() : -1;
}

void Dialog::set_cur_sel(int id, int index) {
  auto* c = qobject_cast<QComboBox*>(dialog_item(*this, id));
  if (!c) return;
  c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}

void Dialog::set_list_items(int id, const std::vector<std::string>& items) {
  auto* c = qobject_cast<QComboBox*>(dialog_item(*this, id));
  if (!c) return;
  // No selection changes are told while the list is rebuilt, as on Windows.
  const QSignalBlocker quiet(c);
  c->clear();
  for (const auto& item : items) c->addItem(QString::fromStdString(item));
  c->setCurrentIndex(-1);
}

void Dialog::set_progress(int id, int permille) {
  if (auto* bar = qobject_cast<QProgressBar*>(dialog_item(*this, id))) bar->setValue(std::clamp(permille, 0, 1000));
}

int Dialog::progress(int id) const {
  auto* bar = qobject_cast<QProgressBar*>(dialog_item(*this, id));
  return bar ? bar->value() : 0;
}

void Dialog::focus_item(int id) {
  if (QWidget* w = dialog_item(*this, id)) w->setFocus();
}

void Dialog::press(int id) {
  if (auto* b = qobject_cast<QPushButton*>(dialog_item(*this, id))) b->click();
}

bool Dialog::visible() const { return impl_->window->isVisible(); }

void Dialog::show_window(bool shown) { impl_->window->setVisible(shown); }

bool Dialog::save_picture(const std::string& png_path) {
  QApplication::processEvents();
  return impl_->window->grab().save(QString::fromStdString(png_path), "PNG");
}

void Dialog::set_icons(int big_icon_id, int small_icon_id) {
  impl_->window->setWindowIcon(window_icon(big_icon_id, small_icon_id));
}

QDialog* dialog_window(const Dialog& dialog) { return dialog.impl().window; }

QWidget* visible_window(const Dialog* dialog) {
  for (; dialog; dialog = dialog->parent())
    if (dialog->impl().window->isVisible()) return dialog->impl().window;
  return nullptr;
}

void place_window(QWidget* window, QWidget* over, bool centre_on_screen) {
  QRect area;
  if (over)
    area = over->frameGeometry();
  else if (centre_on_screen && window->screen())
    area = window->screen()->availableGeometry();
  else
    return;
  window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

QWidget* dialog_item(const Dialog& dialog, int id) {
  const auto& items = dialog.impl().items;
  auto it = items.find(id);
  if (it != items.end()) return it->second;
  // A dialog class that reaches for a control its template lacks is wrong;
  // say so where a developer sees it.
  char text[96];
  std::snprintf(text, sizeof text, "dialog %d has no control %d", dialog.template_id(), id);
  platform::debug_output(text);
  return nullptr;
}

DialogUnits dialog_units(const Dialog& dialog) { return dialog.impl().units; }

int menu_bar_height(const Dialog& dialog) {
  return dialog.impl().menu_bar ? dialog.impl().menu_bar->height() : 0;
}

}  // namespace tenji::ui
