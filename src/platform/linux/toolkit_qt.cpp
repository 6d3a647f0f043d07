// QtToolkit: widgets from the layout table, the hidden popup menu, message boxes, environment.
#include "toolkit_qt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <functional>

#include "codepage.h"
#include "files.h"

namespace kv {
namespace {

constexpr int kTwips = 15;

int Px(int twips) { return (twips + kTwips / 2) / kTwips; }

QString Q(const std::wstring& s) { return QString::fromStdWString(s); }
QString Q(const wchar_t* s) { return QString::fromWCharArray(s); }
std::wstring W(const QString& s) { return s.toStdWString(); }

std::string ExePath() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

// Closing by the title bar: nothing is saved, the program ends with the event loop.
class FormWindow final : public QWidget {
 public:
  std::function<void()> onClose;

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (onClose) onClose();
    QWidget::closeEvent(e);
  }
};

// The list's mouse events: MouseMove for the core, press bookkeeping for Click, tool tips.
class ListFilter final : public QObject {
 public:
  ListFilter(QListWidget* list, std::function<void(QMouseEvent*)> move, std::function<void()> press)
      : QObject(list), list_(list), move_(std::move(move)), press_(std::move(press)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseMove:
        move_(static_cast<QMouseEvent*>(e));
        break;
      case QEvent::MouseButtonPress:
        press_();
        break;
      case QEvent::ToolTip: {
        // The item view would answer with the items' own (absent) tips.
        auto* he = static_cast<QHelpEvent*>(e);
        if (list_->toolTip().isEmpty())
          QToolTip::hideText();
        else
          QToolTip::showText(he->globalPos(), list_->toolTip(), list_);
        return true;
      }
      default:
        break;
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  QListWidget* list_;
  std::function<void(QMouseEvent*)> move_;
  std::function<void()> press_;
};

int VbButtons(Qt::MouseButtons b) {
  return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
         (b & Qt::MiddleButton ? 4 : 0);
}

int VbShift(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
         (m & Qt::AltModifier ? 4 : 0);
}

// A caption shows literally: "&" would otherwise mark an access key.
QString MenuText(const std::wstring& caption) {
  return Q(caption).replace(u'&', QStringLiteral("&&"));
}

}  // namespace

QtToolkit::QtToolkit(int argc, char** argv) : args_(argv, argv + argc) {}

QtToolkit::~QtToolkit() { delete form_; }

std::wstring QtToolkit::AppPath() {
  const std::string exe = ExePath();
  const auto slash = exe.rfind('/');
  if (slash == std::string::npos) return L".";
  return linux_cp::Decode(slash == 0 ? "/" : exe.substr(0, slash));
}

std::wstring QtToolkit::EXEName() {
  // Linux programs carry no extension: the whole file name is what a command must name.
  const std::string exe = ExePath();
  return linux_cp::Decode(exe.substr(exe.rfind('/') + 1));
}

std::wstring QtToolkit::CommandLine() {
  std::string line;
  for (std::size_t i = 1; i < args_.size(); ++i) {
    if (i > 1) line += ' ';
    line += args_[i];
  }
  return linux_cp::Decode(line);
}

void QtToolkit::CreateForm(const FormSpec& layout, FormEvents& events) {
  layout_ = &layout;
  events_ = &events;
  auto* form = new FormWindow;
  form->onClose = [this] { formOpen_ = false; };
  form_ = form;
  form_->setWindowTitle(Q(layout.caption));
  form_->setFixedSize(Px(layout.clientWidth), Px(layout.clientHeight));
}

void QtToolkit::LoadControls() {
  if (form_ == nullptr || !controls_.empty()) return;
  if (QFile::exists(QStringLiteral(":/kivoret/kivoret.ico"))) {
    form_->setWindowIcon(QIcon(QStringLiteral(":/kivoret/kivoret.ico")));
  }

  std::vector<const ControlSpec*> tabOrder;
  for (const ControlSpec& c : layout_->controls) {
    QWidget* w = nullptr;
    const std::int16_t index = c.index;
    switch (c.kind) {
      case CtlKind::Button: {
        auto* b = new QPushButton(Q(c.caption), form_);
        b->setAutoDefault(false);
        b->setDefault(false);
        const Ctl name = c.name;
        QObject::connect(b, &QPushButton::clicked, b, [this, name, index] {
          switch (name) {
            case Ctl::Command1:
              events_->Command1_Click(index);
              break;
            case Ctl::Command2:
              events_->Command2_Click();
              break;
            case Ctl::Command3:
              events_->Command3_Click(index);
              break;
            default:
              break;
          }
        });
        w = b;
        break;
      }
      case CtlKind::TextBox:
        w = new QLineEdit(Q(c.caption), form_);
        break;
      case CtlKind::ListBox: {
        auto* list = new QListWidget(form_);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setSortingEnabled(false);
        list->viewport()->setMouseTracking(true);
        list->setMouseTracking(true);
        list->viewport()->installEventFilter(new ListFilter(
            list,
            [this](QMouseEvent* e) {
              const QPointF p = e->position();
              events_->List1_MouseMove(VbButtons(e->buttons()), VbShift(e->modifiers()),
                                       static_cast<float>(p.x() * kTwips),
                                       static_cast<float>(p.y() * kTwips));
            },
            [this] { selectionChangedInPress_ = false; }));
        // Click comes with every change of the selection by the user, and with a click on the
        // item that was already selected.
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, list] {
          if (programmaticSelection_ != 0) return;
          selectionChangedInPress_ = true;
          if (!list->selectedItems().isEmpty()) events_->List1_Click();
        });
        QObject::connect(list, &QListWidget::itemClicked, list, [this] {
          if (!selectionChangedInPress_) events_->List1_Click();
          selectionChangedInPress_ = false;
        });
        w = list;
        break;
      }
      case CtlKind::CheckBox:
        w = new QCheckBox(Q(c.caption), form_);
        break;
      case CtlKind::Label:
        w = new QLabel(Q(c.caption), form_);
        w->setFocusPolicy(Qt::NoFocus);
        break;
    }
    w->setObjectName(QStringLiteral("%1_%2").arg(static_cast<int>(c.name)).arg(c.index));
    w->setGeometry(Px(c.left), Px(c.top), Px(c.width), Px(c.height));
    if (c.toolTip != nullptr && *c.toolTip != L'\0') w->setToolTip(Q(c.toolTip));
    if (c.kind != CtlKind::Label) {
      w->setFocusPolicy(Qt::StrongFocus);
      tabOrder.push_back(&c);
    }
    controls_[KeyOf(ControlRef{c.name, c.index})] = w;
  }
  std::sort(tabOrder.begin(), tabOrder.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    QWidget::setTabOrder(Widget({tabOrder[i - 1]->name, tabOrder[i - 1]->index}),
                         Widget({tabOrder[i]->name, tabOrder[i]->index}));
  }
}

QWidget* QtToolkit::Widget(ControlRef c) const {
  const auto it = controls_.find(KeyOf(c));
  return it == controls_.end() ? nullptr : it->second;
}

QListWidget* QtToolkit::List(ControlRef c) const { return qobject_cast<QListWidget*>(Widget(c)); }

void QtToolkit::ShowForm() {
  if (form_ == nullptr) return;
  formOpen_ = true;
  form_->show();
  form_->activateWindow();
  if (QWidget* first = Widget({Ctl::Check1, 0})) first->setFocus(Qt::OtherFocusReason);
}

void QtToolkit::UnloadForm() {
  if (form_ == nullptr || !formOpen_) {
    formOpen_ = false;
    return;
  }
  formOpen_ = false;
  form_->hide();
  // The only window is gone: the program ends with its event loop.
  if (eventLoopRunning_) QCoreApplication::quit();
}

void QtToolkit::End() {
  std::fflush(nullptr);
  ::_exit(0);
}

NativeHandle QtToolkit::hWnd(const ControlRef* control) {
  return reinterpret_cast<NativeHandle>(control == nullptr ? form_ : Widget(*control));
}

std::wstring QtToolkit::GetText(ControlRef c) {
  QWidget* w = Widget(c);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return W(e->text());
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return W(b->text());
  if (auto* l = qobject_cast<QLabel*>(w)) return W(l->text());
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    const int i = ListIndex(c);
    return i < 0 ? L"" : W(list->item(i)->text());
  }
  return L"";
}

void QtToolkit::SetText(ControlRef c, const std::wstring& text) {
  QWidget* w = Widget(c);
  if (auto* e = qobject_cast<QLineEdit*>(w))
    e->setText(Q(text));
  else if (auto* b = qobject_cast<QAbstractButton*>(w))
    b->setText(Q(text));
  else if (auto* l = qobject_cast<QLabel*>(w))
    l->setText(Q(text));
}

int QtToolkit::GetValue(ControlRef c) {
  auto* box = qobject_cast<QCheckBox*>(Widget(c));
  return box != nullptr && box->isChecked() ? 1 : 0;
}

void QtToolkit::SetValue(ControlRef c, int value) {
  if (auto* box = qobject_cast<QCheckBox*>(Widget(c))) box->setChecked(value != 0);
}

void QtToolkit::AddItem(ControlRef list, const std::wstring& item) {
  if (auto* lw = List(list)) lw->addItem(Q(item));
}

void QtToolkit::RemoveItem(ControlRef list, int index) {
  auto* lw = List(list);
  if (lw == nullptr || index < 0 || index >= lw->count()) return;
  ++programmaticSelection_;
  const bool wasSelected = ListIndex(list) == index;
  delete lw->takeItem(index);
  // As in a list box, removing the selected line leaves nothing selected.
  if (wasSelected) {
    lw->clearSelection();
    lw->setCurrentRow(-1);
  }
  --programmaticSelection_;
}

std::wstring QtToolkit::GetListItem(ControlRef list, int index) {
  auto* lw = List(list);
  if (lw == nullptr || index < 0 || index >= lw->count()) return L"";
  return W(lw->item(index)->text());
}

void QtToolkit::SetListItem(ControlRef list, int index, const std::wstring& item) {
  auto* lw = List(list);
  if (lw != nullptr && index >= 0 && index < lw->count()) lw->item(index)->setText(Q(item));
}

int QtToolkit::ListIndex(ControlRef list) {
  auto* lw = List(list);
  if (lw == nullptr) return -1;
  const QList<QListWidgetItem*> selected = lw->selectedItems();
  return selected.isEmpty() ? -1 : lw->row(selected.first());
}

int QtToolkit::ListCount(ControlRef list) {
  auto* lw = List(list);
  return lw == nullptr ? 0 : lw->count();
}

void QtToolkit::SetToolTipText(ControlRef c, const std::wstring& text) {
  if (QWidget* w = Widget(c)) w->setToolTip(Q(text));
}

PopupChoice QtToolkit::PopupItems(std::span<const PopupItem> items) {
  QMenu menu;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].ref.kind == MenuKind::Line) {
      menu.addSeparator();
      continue;
    }
    QAction* a = menu.addAction(MenuText(items[i].caption));
    a->setData(static_cast<qulonglong>(i));
  }
  // QMenu takes the release of either mouse button as the choice.
  QAction* chosen = menu.exec(QCursor::pos());
  PopupChoice choice;
  if (chosen == nullptr) return choice;
  choice.item = static_cast<int>(chosen->data().toULongLong());
  const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
  if (held & Qt::ShiftModifier) choice.modifiers |= kPopupShift;
  if (held & Qt::ControlModifier) choice.modifiers |= kPopupCtrl;
  return choice;
}

int QtToolkit::MsgBox(const std::wstring& text, int style) {
  QString body = Q(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const bool yesNo = style == vbYesNoExclamation;
  QMessageBox box(QMessageBox::Warning, Q(Title()), body,
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  form_ != nullptr && form_->isVisible() ? form_ : nullptr);
  box.setTextFormat(Qt::PlainText);
  if (yesNo) {
    // The buttons speak the program's language, as they would on a Japanese desktop.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box.setEscapeButton(QMessageBox::No);
  }
  const int answer = box.exec();
  if (!yesNo) return 1;
  return answer == QMessageBox::Yes ? vbYes : vbNo;
}

bool QtToolkit::TruncateFile(const std::wstring& path) {
  std::string p;
  if (!linux_cp::Encode(path, p) || p.find('\0') != std::string::npos) return false;
  if (!creatableDir_.empty()) {
    std::string dir = linux_cp::EncodeLossy(creatableDir_);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (linux_files::DirName(p) == dir) linux_files::MakeDirs(dir);
  }
  const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  return ::close(fd) == 0;
}

DirResult QtToolkit::Dir(const std::wstring& path, int) {
  // Error 52 stands for a name the file system cannot take at all: an embedded NUL, a
  // character the locale cannot encode, or a name too long; a path that names nothing, or a
  // file, is simply not found.
  std::string p;
  if (!linux_cp::Encode(path, p) || p.find('\0') != std::string::npos) return {52, false};
  if (p.empty()) return {0, false};
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return {errno == ENAMETOOLONG ? 52 : 0, false};
  return {0, S_ISDIR(st.st_mode) && ::access(p.c_str(), R_OK | X_OK) == 0};
}

int QtToolkit::RunEventLoop() {
  if (!formOpen_) return 0;
  eventLoopRunning_ = true;
  const int rc = QApplication::exec();
  eventLoopRunning_ = false;
  return rc;
}

}  // namespace kv
