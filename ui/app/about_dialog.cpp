// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/app/resources.h"
#include "zlm5_version.h"

namespace zlm5 {

QString AboutDialog::MakerName() { return QStringLiteral("VRAX Electronics"); }

QString AboutDialog::ProductLine() { return tr("Communication Software Z-LM5"); }

QString AboutDialog::Notice() {
  return tr("Version %1\nCopyright © 2026 VRAX Electronics.\n"
            "Free software under the GNU General Public License, version 3 or later.\n"
            "There is NO WARRANTY, to the extent permitted by law.")
      .arg(QString::fromLatin1(kProgramVersion));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  LoadResources();
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(tr("About VRAX"));

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  QIcon program_icon;
  program_icon.addFile(QStringLiteral(":/icons/app/z-lm5-48.png"), QSize(48, 48));
  program_icon.addFile(QStringLiteral(":/icons/app/z-lm5-128.png"), QSize(128, 128));
  icon->setPixmap(program_icon.pixmap(QSize(48, 48), devicePixelRatioF()));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  auto* title = new QLabel(MakerName() + QLatin1Char('\n') + ProductLine(), this);
  title->setObjectName(QStringLiteral("aboutTitle"));
  auto* notice = new QLabel(Notice(), this);
  notice->setObjectName(QStringLiteral("aboutNotice"));

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addSpacing(8);
  texts->addWidget(notice);
  texts->addStretch(1);

  auto* body = new QHBoxLayout;
  body->addWidget(icon);
  body->addSpacing(12);
  body->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zlm5
