// SPDX-License-Identifier: GPL-3.0-or-later
// Small parts of the window: the recent-file list, the lock-key
// indicators, the icons and the desktop registration files.

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSettings>
#include <QTest>

#include "tests/ui/ui_test_support.h"
#include "ui/app/app_names.h"
#include "ui/app/lock_keys.h"
#include "ui/app/recent_files.h"
#include "ui/app/resources.h"

namespace zlm5 {

class SupportPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void recent_files_keep_four_newest_first_without_duplicates() {
    test::TempSettings settings;
    RecentFiles recent(settings.Get());
    QCOMPARE(recent.Count(), 0);
    // Files at the top of the file system: "/a.sin" on Linux, "C:/a.sin" on
    // Windows.
    const auto at = [](const char* name) { return QDir::rootPath() + QLatin1String(name); };
    for (const char* name : {"a.sin", "b.sin", "c.sin", "d.sin", "e.sin", "c.sin"}) {
      recent.Add(at(name));
    }
    QCOMPARE(recent.Entries(), QStringList({at("c.sin"), at("e.sin"), at("d.sin"), at("b.sin")}));
    QCOMPARE(recent.At(4), QString());
    recent.Remove(at("e.sin"));
    QCOMPARE(recent.Entries(), QStringList({at("c.sin"), at("d.sin"), at("b.sin")}));

    RecentFiles reread(settings.Get());
    QCOMPARE(reread.Entries(), QStringList({at("c.sin"), at("d.sin"), at("b.sin")}));
    QCOMPARE(settings.Get().value(QStringLiteral("Recent File List/File3")).toString(),
             at("b.sin"));
    QVERIFY(!settings.Get().contains(QStringLiteral("Recent File List/File4")));
  }

  void recent_files_store_absolute_paths() {
    test::TempSettings settings;
    RecentFiles recent(settings.Get());
    recent.Add(QStringLiteral("relative.sin"));
    QCOMPARE(recent.At(0), QDir::current().absoluteFilePath(QStringLiteral("relative.sin")));
  }

  void lock_keys_are_read_from_the_keyboard_leds() {
    QTemporaryDir leds;
    auto led = [&](const QString& device, const QByteArray& brightness) {
      QVERIFY(QDir(leds.path()).mkpath(device));
      QVERIFY(test::WriteAll(
          leds.path() + QLatin1Char('/') + device + QStringLiteral("/brightness"), brightness));
    };
    led(QStringLiteral("input3::capslock"), "1\n");
    led(QStringLiteral("input3::numlock"), "0\n");
    led(QStringLiteral("input9::numlock"), "0\n");
    led(QStringLiteral("input3::kana"), "1\n");
    QCOMPARE(ReadLockKeyState(LockKey::Caps, leds.path()), std::optional<bool>(true));
    QCOMPARE(ReadLockKeyState(LockKey::Num, leds.path()), std::optional<bool>(false));
    QCOMPARE(ReadLockKeyState(LockKey::Scroll, leds.path()), std::nullopt);
    led(QStringLiteral("input9::numlock"), "1\n");  // any keyboard lit counts
    QCOMPARE(ReadLockKeyState(LockKey::Num, leds.path()), std::optional<bool>(true));
    QCOMPARE(ReadLockKeyState(LockKey::Caps, leds.path() + QStringLiteral("/none")), std::nullopt);
  }

  void toolbar_icons_exist_at_one_and_two_times_18_pixels() {
    LoadResources();
    for (const char* name : {"new", "open", "save", "read", "write", "edit", "print",
                             "context_help", "about", "debug"}) {
      const QImage one(QStringLiteral(":/icons/toolbar/%1.png").arg(QLatin1String(name)));
      const QImage two(QStringLiteral(":/icons/toolbar/%1@2x.png").arg(QLatin1String(name)));
      QCOMPARE(one.size(), QSize(18, 18));
      QCOMPARE(two.size(), QSize(36, 36));
    }
    for (int size : {16, 32, 48, 64, 128, 256}) {
      QCOMPARE(QImage(QStringLiteral(":/icons/app/z-lm5-%1.png").arg(size)).size(),
               QSize(size, size));
    }
  }

  void the_desktop_files_register_channel_data() {
    const QString res = QStringLiteral(ZLM5_SOURCE_DIR "/res/desktop/");
    const QString desktop =
        QString::fromUtf8(test::ReadAll(res + QStringLiteral("com.vrax.zlm5.desktop")));
    QVERIFY(
        desktop.contains(QStringLiteral("MimeType=") + app_names::kMimeType + QLatin1Char(';')));
    QVERIFY(desktop.contains(QStringLiteral("Icon=") + app_names::kDesktopFileName +
                             QLatin1Char('\n')));
    QVERIFY(desktop.contains(QStringLiteral("Exec=z-lm5 %f")));
    const QString mime =
        QString::fromUtf8(test::ReadAll(res + QStringLiteral("com.vrax.zlm5.xml")));
    QVERIFY(mime.contains(QStringLiteral("<mime-type type=\"") + app_names::kMimeType +
                          QLatin1Char('"')));
    QVERIFY(mime.contains(QStringLiteral("<comment>Z-LM5 radio channel data</comment>")));
    QVERIFY(mime.contains(QStringLiteral("<glob pattern=\"*.sin\"/>")));
    const QString meta = QString::fromUtf8(
        test::ReadAll(QStringLiteral(ZLM5_BINARY_DIR "/packaging/com.vrax.zlm5.metainfo.xml")));
    QVERIFY(meta.contains(
        QStringLiteral("<launchable type=\"desktop-id\">com.vrax.zlm5.desktop</launchable>")));
  }
};

}  // namespace zlm5

QTEST_MAIN(zlm5::SupportPartsTest)
#include "test_support_parts.moc"
