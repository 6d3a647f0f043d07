// One settings window per settings file on Qt: a local socket per file that later starts reach.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "codepage.h"
#include "toolkit_qt.h"
#include "unique_fd.h"

namespace kv::lnx {
namespace {

constexpr char kTaken[] = "taken";

// A runtime directory that only the user can enter; anything else could be a trap.
bool PrivateRuntimeDir(const char* dir) {
  struct stat st {};
  return dir != nullptr && dir[0] == '/' && ::stat(dir, &st) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == ::getuid() && (st.st_mode & 07777) == 0700;
}

// The socket in the user's runtime directory, named by the settings file (FNV-1a of its path),
// else beside the file.
std::string SocketFor(const std::string& settingsFile) {
  const char* run = std::getenv("XDG_RUNTIME_DIR");
  if (PrivateRuntimeDir(run)) {
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : settingsFile) h = (h ^ c) * 1099511628211ull;
    char name[48];
    std::snprintf(name, sizeof name, "/kivoret-%016llx.window", static_cast<unsigned long long>(h));
    return run + std::string(name);
  }
  return settingsFile.substr(0, settingsFile.rfind('/') + 1) + ".kivoret.window";
}

}  // namespace

bool QtToolkit::JoinOpenWindow(const std::wstring& settingsFile, const std::wstring& commandLine) {
  const std::string path = SocketFor(EncodeLossy(settingsFile));
  const QString name = QString::fromLocal8Bit(path);
  // Held from the look until this run listens, so that two starts at once cannot both open a
  // window; the system lets go of it when its holder dies.
  const UniqueFd dir(::open(path.substr(0, path.rfind('/') + 1).c_str(), O_RDONLY | O_CLOEXEC));
  if (dir) ::flock(dir.get(), LOCK_EX);

  QLocalSocket peer;
  peer.connectToServer(name);
  if (peer.waitForConnected(1000)) {
    // The token lets a Wayland compositor pass the focus on to the open window.
    const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
    peer.write(QByteArray(token != nullptr ? token : "") + '\n' +
               QByteArray::fromStdString(EncodeLossy(commandLine)) + '\0');
    // A window that does not answer (stopped, hung) counts as gone: this run takes its place.
    if (peer.waitForBytesWritten(1000) && peer.waitForReadyRead(3000) && peer.readAll() == kTaken)
      return true;
  }
  // A socket whose program died refuses connections; it must not keep this window from opening.
  QLocalServer::removeServer(name);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) {
    server_.reset();  // then this window is simply not found by others
    return false;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
    while (QLocalSocket* other = server_->nextPendingConnection()) {
      QObject::connect(other, &QLocalSocket::disconnected, other, &QObject::deleteLater);
      auto got = std::make_shared<QByteArray>();
      QObject::connect(other, &QLocalSocket::readyRead, other, [this, other, got] {
        *got += other->readAll();
        if (!got->endsWith('\0')) return;
        const qsizetype lf = got->indexOf('\n');
        const QByteArray token = got->left(lf);
        const std::wstring cmd = Decode(got->mid(lf + 1).chopped(1).toStdString());
        other->write(kTaken);
        other->flush();
        // After this handler: the core may ask a question, and this socket is done with.
        QTimer::singleShot(0, form_.get(), [this, token, cmd] {
          if (!token.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", token);
          if (events_ != nullptr) events_->OnAnotherStart(cmd);
        });
      });
    }
  });
  return false;
}

void QtToolkit::BringToFront() {
  if (form_ == nullptr) return;
  form_->setWindowState(form_->windowState() & ~Qt::WindowMinimized);
  form_->show();
  form_->raise();
  // Qt's Wayland shell hands a pending XDG_ACTIVATION_TOKEN to the compositor here.
  form_->activateWindow();
}

}  // namespace kv::lnx
