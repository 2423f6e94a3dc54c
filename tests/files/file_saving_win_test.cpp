// SPDX-License-Identifier: GPL-3.0-or-later
// Saving, reading and the user's folders on Windows, as a user sees them.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "files/backup_store.h"
#include "files/channel_document.h"
#include "files/file_reading.h"
#include "files/file_saving.h"
#include "files/temporary_file.h"
#include "files/user_folders.h"
#include "files/utf8_path.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

// "Kanäle-Канал.sin" in UTF-8, and as Windows names it.
constexpr std::string_view kName = "Kan\xC3\xA4le-\xD0\x9A\xD0\xB0\xD0\xBD\xD0\xB0\xD0\xBB.sin";
constexpr std::wstring_view kWideName = L"Kan\u00E4le-\u041A\u0430\u043D\u0430\u043B.sin";

class FileSavingWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    std::random_device random;
    dir_ = fs::path(temp) / ("zlm5-files-" + std::to_string(random()));
    ASSERT_TRUE(CreateDirectoryW(dir_.c_str(), nullptr)) << GetLastError();
  }
  void TearDown() override {
    // Read-only files would stop remove_all.
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(dir_, ec)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(dir_, ec);
  }

  std::string Path(std::string_view name) const { return Utf8FromPath(dir_ / PathFromUtf8(name)); }

  static std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  // The names in the folder as Windows lists them.
  std::vector<std::wstring> Entries() const {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // 4096 bytes with every byte value, the ones text mode would change first.
  static std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    const std::uint8_t start[] = {0x0A, 0x0D, 0x1A, 0x00, 0x0D, 0x0A, 0x1A, 0x1A};
    for (std::size_t i = 0; i < size; ++i) {
      bytes[i] = i < sizeof start ? start[i] : static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    return bytes;
  }

  fs::path dir_;
};

TEST_F(FileSavingWinTest, LineEndsEndOfFileMarksAndZerosSurviveASaveAndARead) {
  const std::vector<std::uint8_t> pattern = Pattern(4096);
  RadioImage image;
  std::copy(pattern.begin(), pattern.end(), image.bytes().begin());
  ASSERT_TRUE(SaveChannelDataFile(Path("radio.sin"), image));
  EXPECT_EQ(ReadBytes(Path("radio.sin")), pattern);

  const Result<RadioImage> loaded = LoadChannelDataFile(Path("radio.sin"));
  ASSERT_TRUE(loaded) << loaded.error().Message();
  EXPECT_EQ(*loaded, image);
  // A read stops at neither 1A nor the end of a text line.
  const Result<std::string> start = ReadFileStart(Path("radio.sin"), {16, false, "a test file"});
  ASSERT_TRUE(start);
  EXPECT_EQ(*start, std::string("\x0A\x0D\x1A\x00\x0D\x0A\x1A\x1A", 8) +
                        std::string(reinterpret_cast<const char*>(&pattern[8]), 8));
}

TEST_F(FileSavingWinTest, SavingOverAFileReplacesItsContentsAndKeepsItsAttributes) {
  WriteBytes(Path("radio.sin"), std::vector<std::uint8_t>(5000, 0x55));
  ASSERT_TRUE(SetFileAttributesW(PathFromUtf8(Path("radio.sin")).c_str(), FILE_ATTRIBUTE_HIDDEN));
  const std::vector<std::uint8_t> pattern = Pattern(4096);
  const Status saved = SaveFile(Path("radio.sin"), pattern);
  ASSERT_TRUE(saved) << saved.error().Message();
  EXPECT_EQ(ReadBytes(Path("radio.sin")), pattern);
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"radio.sin"}) << "no temporary file left";
  const DWORD attributes = GetFileAttributesW(PathFromUtf8(Path("radio.sin")).c_str());
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// "z-lm5-cli import radio.sin list.csv" in the file's own folder names the
// file without a folder; replacing it must work all the same.
TEST_F(FileSavingWinTest, AFileNamedWithoutItsFolderIsReplacedInTheCurrentFolder) {
  WriteBytes(Path("radio.sin"), std::vector<std::uint8_t>(4096, 0x55));
  wchar_t previous[MAX_PATH + 1];
  ASSERT_GT(GetCurrentDirectoryW(MAX_PATH + 1, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(dir_.c_str()));
  const Status saved = SaveFile("radio.sin", Pattern(4096));
  SetCurrentDirectoryW(previous);
  ASSERT_TRUE(saved) << saved.error().Message();
  EXPECT_EQ(ReadBytes(Path("radio.sin")), Pattern(4096));
  EXPECT_EQ(Entries(), std::vector<std::wstring>{L"radio.sin"}) << "no temporary file left";
}

TEST_F(FileSavingWinTest, ReadOnlyFilesFoldersAndDevicesAreRefusedByName) {
  const std::string locked = Path("locked.sin");
  WriteBytes(locked, Pattern(4096));
  ASSERT_TRUE(SetFileAttributesW(PathFromUtf8(locked).c_str(), FILE_ATTRIBUTE_READONLY));
  const Status onto_locked = SaveFile(locked, std::vector<std::uint8_t>(4096, 0x11));
  ASSERT_FALSE(onto_locked);
  EXPECT_EQ(onto_locked.error().Message(),
            locked + ": cannot save: the file is read-only, and may not be written");
  EXPECT_EQ(onto_locked.error().code(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadBytes(locked), Pattern(4096));

  const std::string folder = Path("folder.sin");
  ASSERT_TRUE(CreateDirectoryW(PathFromUtf8(folder).c_str(), nullptr));
  const Status onto_folder = SaveFile(folder, Pattern(4096));
  ASSERT_FALSE(onto_folder);
  EXPECT_EQ(onto_folder.error().Message(), folder + ": cannot save: it is a folder");
  const Result<RadioImage> from_folder = LoadChannelDataFile(folder);
  ASSERT_FALSE(from_folder);
  EXPECT_EQ(from_folder.error().Message(), folder + ": cannot read the file: it is a folder");

  const Status onto_nul = SaveFile("NUL", Pattern(4096));
  ASSERT_FALSE(onto_nul);
  EXPECT_EQ(onto_nul.error().Message(), "NUL: cannot save: it is a device, not a regular file");
  const Result<RadioImage> from_nul = LoadChannelDataFile("NUL");
  ASSERT_FALSE(from_nul);
  EXPECT_EQ(from_nul.error().Message(),
            "NUL: cannot open the file: it is a device, not a channel data file");

  const std::string missing = Path("missing.sin");
  const Result<RadioImage> from_missing = LoadChannelDataFile(missing);
  ASSERT_FALSE(from_missing);
  EXPECT_EQ(from_missing.error().code(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(from_missing.error().Message(),
            missing + ": cannot open the file: " + SystemErrorText(ERROR_FILE_NOT_FOUND));
  const std::string nowhere = Path("no-such-folder\\radio.sin");
  const Status into_nowhere = SaveFile(nowhere, Pattern(4096));
  ASSERT_FALSE(into_nowhere);
  EXPECT_EQ(into_nowhere.error().code(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(into_nowhere.error().Message(), nowhere + ": cannot save: cannot create a file in " +
                                                Path("no-such-folder") + ": " +
                                                SystemErrorText(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"folder.sin", L"locked.sin"}));
}

TEST_F(FileSavingWinTest, ANonAsciiNameIsSavedFoundAndReadBackByItsUtf8Name) {
  ChannelDocument doc;
  doc.image().set(0, 0x1A);
  const std::string path = Path(kName);
  const Status saved = doc.Save(path);
  ASSERT_TRUE(saved) << saved.error().Message();
  EXPECT_EQ(Entries(), std::vector<std::wstring>{std::wstring(kWideName)});
  EXPECT_EQ(doc.title(), kName);
  ChannelDocument other;
  const Status opened = other.Open(path);
  ASSERT_TRUE(opened) << opened.error().Message();
  EXPECT_EQ(other.image(), doc.image());
}

TEST_F(FileSavingWinTest, ANameTakenMeanwhileIsLeftAloneAndAnotherOneTaken) {
  WriteBytes(Path("taken.sin"), {1, 2, 3});
  Result<TemporaryFile> temp = TemporaryFile::Create(Utf8FromPath(dir_));
  ASSERT_TRUE(temp) << temp.error().Message();
  ASSERT_TRUE(temp->Write(Pattern(4096)));
  const Result<TemporaryFile::Naming> onto_taken = temp->LinkAs(Path("taken.sin"));
  ASSERT_TRUE(onto_taken) << onto_taken.error().Message();
  EXPECT_EQ(*onto_taken, TemporaryFile::Naming::kNameTaken);
  EXPECT_EQ(ReadBytes(Path("taken.sin")), (std::vector<std::uint8_t>{1, 2, 3}));
  const Result<TemporaryFile::Naming> free = temp->LinkAs(Path("free.sin"));
  ASSERT_TRUE(free) << free.error().Message();
  EXPECT_EQ(*free, TemporaryFile::Naming::kNamed);
  EXPECT_EQ(ReadBytes(Path("free.sin")), Pattern(4096));
  EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"free.sin", L"taken.sin"}));
}

// An old temporary file goes unless a save still holds it open.
TEST_F(FileSavingWinTest, SaveRemovesOldTemporaryFilesThatCanBeDeleted) {
  const auto make = [this](const std::string& name, bool old) {
    WriteBytes(Path(name), {7, 7, 7});
    if (!old) return;
    HANDLE file = CreateFileW(PathFromUtf8(Path(name)).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= 61ULL * 10000000ULL;  // 61 s in 100 ns steps
    const FILETIME past{time.LowPart, time.HighPart};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &past));
    CloseHandle(file);
  };
  make(".z-lm5-save-4242-17.tmp", true);   // left by a killed save
  make(".z-lm5-save-4242-18.tmp", true);   // a save that still holds it
  make(".z-lm5-save-4243-19.tmp", false);  // a save under way
  make("draft.tmp", true);                 // the user's own
  HANDLE held = CreateFileW(PathFromUtf8(Path(".z-lm5-save-4242-18.tmp")).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const Status saved = SaveFile(Path("radio.sin"), Pattern(4096));
  CloseHandle(held);
  ASSERT_TRUE(saved) << saved.error().Message();
  EXPECT_EQ(Entries(),
            (std::vector<std::wstring>{L".z-lm5-save-4242-18.tmp", L".z-lm5-save-4243-19.tmp",
                                       L"draft.tmp", L"radio.sin"}));
}

// Sets an environment variable for one test and puts it back after.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t old[32768];
    const DWORD length = GetEnvironmentVariableW(name, old, 32768);
    had_ = length > 0;
    if (had_) old_.assign(old, length);
    SetEnvironmentVariableW(name, value);
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  bool had_ = false;
  std::wstring old_;
};

fs::path KnownFolder(const KNOWNFOLDERID& id) {
  wchar_t* known = nullptr;
  fs::path path;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &known))) path = known;
  CoTaskMemFree(known);
  return path;
}

TEST_F(FileSavingWinTest, SettingsRoamAndBackupsStayInTheLocalApplicationData) {
  const fs::path roaming = dir_ / kWideName / L"Roaming";
  const fs::path local = dir_ / L"Local";
  {
    const ScopedVariable app_data(L"APPDATA", roaming.c_str());
    const ScopedVariable local_app_data(L"LOCALAPPDATA", local.c_str());
    EXPECT_EQ(PathFromUtf8(SettingsFolder()), roaming / L"z-lm5");
    EXPECT_EQ(PathFromUtf8(DataFolder()), local / L"z-lm5");
    EXPECT_EQ(PathFromUtf8(DefaultBackupFolder()), local / L"z-lm5" / L"backups");

    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 7;
    time.tm_hour = 21;
    BackupStore store(DefaultBackupFolder());
    const Result<std::string> backup = store.Save(RadioImage(), TransferDirection::kRead, time);
    ASSERT_TRUE(backup) << backup.error().Message();
    EXPECT_EQ(PathFromUtf8(*backup),
              local / L"z-lm5" / L"backups" / L"2026-12-07_21-00-00_read.sin");
    EXPECT_TRUE(fs::is_regular_file(PathFromUtf8(*backup)));
  }
  {
    // Not set, or not a full path: the folders the system knows.
    const ScopedVariable app_data(L"APPDATA", nullptr);
    const ScopedVariable local_app_data(L"LOCALAPPDATA", L"relative");
    EXPECT_EQ(PathFromUtf8(SettingsFolder()), KnownFolder(FOLDERID_RoamingAppData) / L"z-lm5");
    EXPECT_EQ(PathFromUtf8(DefaultBackupFolder()),
              KnownFolder(FOLDERID_LocalAppData) / L"z-lm5" / L"backups");
    EXPECT_FALSE(KnownFolder(FOLDERID_LocalAppData).empty());
  }
  EXPECT_EQ(SettingsFileHelp("ports.conf"), "%APPDATA%\\z-lm5\\ports.conf");
  EXPECT_EQ(DataFolderHelp("backups"), "%LOCALAPPDATA%\\z-lm5\\backups");
}

}  // namespace
}  // namespace zlm5
