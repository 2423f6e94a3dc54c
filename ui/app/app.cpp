// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/app.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStyle>

#include <cstdio>

#include "ui/app/app_names.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/grid/grid_accessible.h"
#include "zlm5_version.h"

namespace zlm5 {
namespace {

constexpr int kWindowWidth = 730;
constexpr int kWindowHeight = 768;

// True where no one can see a message box (tests, headless runs).
bool HeadlessPlatform() {
  const QString platform = QGuiApplication::platformName();
  return platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal");
}

}  // namespace

void App::SetIdentity() {
  QCoreApplication::setOrganizationName(app_names::kOrganization);
  QCoreApplication::setApplicationName(app_names::kApplicationName);
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
  QGuiApplication::setDesktopFileName(app_names::kDesktopFileName);
}

App::App() = default;

App::~App() = default;

QString App::OpenFailureMessage(const QString& reason) {
  return QCoreApplication::translate("zlm5::App", "Failed to open document.\n\n%1").arg(reason);
}

bool App::Start(const QString& file) {
  // Screen readers see the channel grid as a table.
  InstallGridAccessibility();
  settings_ = std::make_unique<QSettings>(app_names::kOrganization, app_names::kApplicationName);
  frame_ = std::make_unique<MainFrame>(*settings_);
  if (file.isEmpty()) return true;

  const Status loaded = frame_->LoadFile(file);
  if (loaded) return true;
  // The reason names the file: "<path>: cannot open the file: <why>".
  const QString reason = QString::fromStdString(loaded.error().Message());
  std::fprintf(stderr, "z-lm5: %s\n", qUtf8Printable(reason));
  if (!HeadlessPlatform()) ShowMessage(nullptr, OpenFailureMessage(reason), QMessageBox::Critical);
  frame_.reset();
  return false;
}

void App::ShowMainWindow() {
  MainFrame& frame = *frame_;
  QSize size(kWindowWidth, kWindowHeight);
  QRect available(0, 0, kWindowWidth, kWindowHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    available = screen->availableGeometry();
    // Leave room for the window's title bar and frame on a small screen.
    const int title = frame.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    size = size.boundedTo(available.size() - QSize(2 * title / 3, title + title / 2));
  }
  frame.resize(size);
  frame.move(available.center() - QPoint(size.width() / 2, size.height() / 2));
  frame.show();
}

}  // namespace zlm5
