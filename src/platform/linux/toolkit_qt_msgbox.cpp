// Message boxes on Qt, with the program's title and Japanese Yes/No buttons.
#include <QAbstractButton>
#include <QMessageBox>
#include <QWidget>

#include "qt_text.h"
#include "toolkit_qt.h"

namespace kv::lnx {

MsgAnswer QtToolkit::MsgBox(const std::wstring& text, MsgStyle style) {
  QString body = Q(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const bool yesNo = style != MsgStyle::Warning;
  QMessageBox box(style == MsgStyle::QuestionYesNo ? QMessageBox::Question : QMessageBox::Warning,
                  Q(Title()), body, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  form_ != nullptr && form_->isVisible() ? form_.get() : nullptr);
  box.setTextFormat(Qt::PlainText);
  if (yesNo) {
    // The buttons speak the program's language, as they would on a Japanese desktop.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box.setEscapeButton(QMessageBox::No);
  }
  const int answer = box.exec();
  if (!yesNo) return MsgAnswer::Ok;
  return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

}  // namespace kv::lnx
