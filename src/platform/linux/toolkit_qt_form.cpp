// The form on Qt: the window and its widgets from FormSpec, their events, tab order, the icon.
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalServer>
#include <QPushButton>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <memory>

#include "platform/button_click.h"
#include "qt_text.h"
#include "toolkit_qt.h"

namespace kv::lnx {
namespace {

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

// The list's mouse events: hovering for the core, press bookkeeping for a click, tool tips.
class ListFilter final : public QObject {
 public:
  ListFilter(QListWidget* list, std::function<void()> move, std::function<void()> press)
      : QObject(list), list_(list), move_(std::move(move)), press_(std::move(press)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseMove:
        move_();
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
  std::function<void()> move_;
  std::function<void()> press_;
};

}  // namespace

void QtToolkit::CreateForm(const FormSpec& layout, FormEvents& events) {
  layout_ = &layout;
  events_ = &events;
  auto form = std::make_unique<FormWindow>();
  form->onClose = [this] { formOpen_ = false; };
  form_ = std::move(form);
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
    switch (c.kind) {
      case CtlKind::Button: {
        auto* b = new QPushButton(Q(c.caption), form_.get());
        b->setAutoDefault(false);
        b->setDefault(false);
        const Control role = c.role;
        QObject::connect(b, &QPushButton::clicked, b,
                         [this, role] { ClickButton(*events_, role); });
        w = b;
        break;
      }
      case CtlKind::TextBox:
        w = new QLineEdit(Q(c.caption), form_.get());
        break;
      case CtlKind::ListBox: {
        auto* list = new QListWidget(form_.get());
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setSortingEnabled(false);
        list->viewport()->setMouseTracking(true);
        list->setMouseTracking(true);
        list->viewport()->installEventFilter(new ListFilter(
            list, [this] { events_->OnFolderHover(); },
            [this] { selectionChangedInPress_ = false; }));
        // Selected comes with every change of the selection by the user, and with a click on
        // the item that was already selected.
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, list] {
          if (programmaticSelection_ != 0) return;
          selectionChangedInPress_ = true;
          if (!list->selectedItems().isEmpty()) events_->OnFolderSelected();
        });
        QObject::connect(list, &QListWidget::itemClicked, list, [this] {
          if (!selectionChangedInPress_) events_->OnFolderSelected();
          selectionChangedInPress_ = false;
        });
        w = list;
        break;
      }
      case CtlKind::CheckBox:
        w = new QCheckBox(Q(c.caption), form_.get());
        break;
      case CtlKind::Label:
        w = new QLabel(Q(c.caption), form_.get());
        w->setFocusPolicy(Qt::NoFocus);
        break;
    }
    w->setObjectName(QStringLiteral("control%1").arg(static_cast<int>(c.role)));
    w->setGeometry(Px(c.left), Px(c.top), Px(c.width), Px(c.height));
    if (c.toolTip != nullptr && *c.toolTip != L'\0') w->setToolTip(Q(c.toolTip));
    if (c.kind != CtlKind::Label) {
      w->setFocusPolicy(Qt::StrongFocus);
      tabOrder.push_back(&c);
    }
    controls_[c.role] = w;
  }
  std::sort(tabOrder.begin(), tabOrder.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    QWidget::setTabOrder(Widget(tabOrder[i - 1]->role), Widget(tabOrder[i]->role));
  }
}

QWidget* QtToolkit::Widget(Control c) const {
  const auto it = controls_.find(c);
  return it == controls_.end() ? nullptr : it->second;
}

QListWidget* QtToolkit::List(Control c) const { return qobject_cast<QListWidget*>(Widget(c)); }

void QtToolkit::ShowForm() {
  if (form_ == nullptr) return;
  formOpen_ = true;
  form_->show();
  form_->activateWindow();
  if (QWidget* first = Widget(Control::ShowDrivesBox)) first->setFocus(Qt::OtherFocusReason);
}

void QtToolkit::UnloadForm() {
  server_.reset();  // later starts open a window of their own
  if (form_ == nullptr || !formOpen_) {
    formOpen_ = false;
    return;
  }
  formOpen_ = false;
  form_->hide();
  // The only window is gone: the program ends with its event loop.
  if (eventLoopRunning_) QCoreApplication::quit();
}

NativeHandle QtToolkit::hWnd(std::optional<Control> control) {
  return reinterpret_cast<NativeHandle>(control ? Widget(*control) : form_.get());
}

}  // namespace kv::lnx
