#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

namespace {

using ::testing::ElementsAre;

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr); }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }
    ScopedFakePlatform platform;
};

TEST_F(LogTest, ComposesModuleLevelScopeAndMessage) {
    LogScope scope("Dll::Load");
    scope.Trace("Loaded '%s'", "iphlpapi.dll");
    GlobalLogScope.Error("Dll::GetFunctionPtr - failed to get Fn '%s'", "x");
    EXPECT_EQ(platform->DebugLines(),
              (std::vector<std::string>{"QRM:T:Dll::Load - Loaded 'iphlpapi.dll'",
                                        "QRM:E:Dll::GetFunctionPtr - failed to get Fn 'x'"}));
}

// Runs in a process of its own, where nothing has touched the log yet.
[[noreturn]] void CheckValuesAtCreation() {
    ScopedFakePlatform platform;
    Log& log = Log::Instance();
    bool asCreated = log.ModuleTag().empty() && log.DebuggerLevel() == 2 && log.FileLevel() == 0 &&
                     !log.FilePath() && !log.BackupPath();

    LogScope scope("Dll::Load");
    scope.Error("error %d", 1);
    scope.Trace("trace %d", 2);
    scope.Debug("debug %d", 3);
    asCreated = asCreated &&
                platform->DebugLines() == std::vector<std::string>{":E:Dll::Load - error 1", ":T:Dll::Load - trace 2"};

    if (!asCreated) std::fprintf(stderr, "the log did not start with its values at creation\n");
    std::fflush(stderr);
    std::_Exit(asCreated ? 0 : 1);
}

TEST(LogCreationDeathTest, StartsWithTheValuesAtCreation) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CheckValuesAtCreation(), ::testing::ExitedWithCode(0), "");
}

std::mutex exitMutex;
std::condition_variable exitChanged;
bool exiting = false;
bool loggedWhileExiting = false;

// Runs in a process of its own: a worker writes a line while the process
// exits, after everything created since this call has been destroyed.
[[noreturn]] void LogWhileExiting() {
    Platform::Install(new FakePlatform);
    std::atexit([] {
        std::unique_lock<std::mutex> lock(exitMutex);
        exiting = true;
        exitChanged.notify_all();
        exitChanged.wait_for(lock, std::chrono::seconds(20), [] { return loggedWhileExiting; });
    });
    // Long enough to live on the heap, where a freed copy is noticed.
    Log::Instance().Configure("a module tag that does not fit a short text", 3, 0, nullptr, nullptr);

    std::thread([] {
        std::unique_lock<std::mutex> lock(exitMutex);
        exitChanged.wait(lock, [] { return exiting; });
        GlobalLogScope.Error("still exiting");
        loggedWhileExiting = true;
        exitChanged.notify_all();
    }).detach();
    std::exit(0);
}

TEST(LogExitDeathTest, ServesAWorkerThatLogsWhileTheProcessExits) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LogWhileExiting(), ::testing::ExitedWithCode(0), "");
}

// A setting of the file sink and what the log keeps of it.
struct FileOutputCase {
    const char* name;
    int level;
    const char* path;
    const char* backupPath;
    int keptLevel;
    std::optional<std::string> keptPath;
    std::optional<std::string> keptBackupPath;
};

void PrintTo(const FileOutputCase& c, std::ostream* out) { *out << c.name; }

class SetFileOutputTest : public LogTest, public ::testing::WithParamInterface<FileOutputCase> {};

TEST_P(SetFileOutputTest, KeepsACopyOnlyForALevelWithAPath) {
    const FileOutputCase& c = GetParam();
    Log& log = Log::Instance();
    log.SetFileOutput(3, "/old/addrix.log", "/old/addrix.bak");

    std::string path = c.path ? c.path : "";
    std::string backupPath = c.backupPath ? c.backupPath : "";
    log.SetFileOutput(c.level, c.path ? path.c_str() : nullptr, c.backupPath ? backupPath.c_str() : nullptr);
    path.assign(path.size(), '#');
    backupPath.assign(backupPath.size(), '#');

    EXPECT_EQ(log.FileLevel(), c.keptLevel);
    EXPECT_EQ(log.FilePath(), c.keptPath);
    EXPECT_EQ(log.BackupPath(), c.keptBackupPath);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SetFileOutputTest,
    ::testing::Values(FileOutputCase{"LevelWithoutPath", 2, nullptr, "/b", 0, std::nullopt, std::nullopt},
                      FileOutputCase{"PathWithLevelZero", 0, "/p", "/b", 0, std::nullopt, std::nullopt},
                      FileOutputCase{"PathWithNegativeLevel", -1, "/p", nullptr, 0, std::nullopt, std::nullopt},
                      FileOutputCase{"PathWithoutBackup", 2, "/p", nullptr, 2, "/p", std::nullopt},
                      FileOutputCase{"PathAndBackup", 3, "/p", "/b", 3, "/p", "/b"}),
    [](const auto& info) { return std::string(info.param.name); });

// A line composed past the 510 characters that fit the composition area.
struct LongLineCase {
    const char* name;
    size_t tagLength;
    size_t scopeLength;
    size_t messageLength;
};

void PrintTo(const LongLineCase& c, std::ostream* out) { *out << c.name; }

class LongLineTest : public LogTest, public ::testing::WithParamInterface<LongLineCase> {};

TEST_P(LongLineTest, IsCutTo510Characters) {
    const LongLineCase& c = GetParam();
    const std::string tag(c.tagLength, 'Q');
    const std::string scopeName(c.scopeLength, 's');
    const std::string message(c.messageLength, 'm');
    Log::Instance().Configure(tag.c_str(), 3, 0, nullptr, nullptr);

    LogScope(scopeName.c_str()).Trace("%s", message.c_str());

    const std::string whole = tag + ":T:" + scopeName + " - " + message;
    EXPECT_THAT(platform->DebugLines(), ElementsAre(whole.substr(0, 510)));
}

INSTANTIATE_TEST_SUITE_P(Lines, LongLineTest,
                         ::testing::Values(LongLineCase{"FitsExactly", 3, 9, 510 - 3 - 3 - 9 - 3},
                                           LongLineCase{"LongMessage", 3, 9, 600},
                                           LongLineCase{"HugeMessage", 3, 9, 100000},
                                           LongLineCase{"LongScopeName", 3, 600, 5},
                                           LongLineCase{"LongModuleTag", 700, 9, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

// The sinks a level reaches, seen through whether the message was formatted.
struct LevelCase {
    const char* name;
    int debuggerLevel;
    int fileLevel;
    bool formatted;
};

void PrintTo(const LevelCase& c, std::ostream* out) { *out << c.name; }

class LogFileTest : public LogTest {
protected:
    void SetUp() override {
        LogTest::SetUp();
        directory = MakeDirectory();
        ASSERT_FALSE(directory.empty());
        path = directory / "addrix.log";
        backupPath = directory / "addrix.bak";
        lineBreak = TextModeLineBreak(directory / "break.txt");
        ASSERT_TRUE(lineBreak.ends_with("\n"));
    }

    void TearDown() override {
        std::filesystem::remove_all(directory);
        LogTest::TearDown();
    }

    void UseFile(int debuggerLevel, int fileLevel, bool withBackup = false) {
        Log::Instance().Configure("QRM", debuggerLevel, fileLevel, path.string().c_str(),
                                  withBackup ? backupPath.string().c_str() : nullptr);
    }

    // A new directory of this test's own under the system's temporary one.
    static std::filesystem::path MakeDirectory() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate =
                std::filesystem::temp_directory_path() / ("addrix-log-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) return candidate;
        }
        return {};
    }

    // How a line feed written in text mode is stored: "\n", or "\r\n" on
    // Windows.
    static std::string TextModeLineBreak(const std::filesystem::path& probe) {
        FILE* file = std::fopen(probe.string().c_str(), "w");
        if (!file) return {};
        std::fputc('\n', file);
        std::fclose(file);
        return Read(probe);
    }

    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    static void Write(const std::filesystem::path& file, const std::string& content) {
        std::ofstream(file, std::ios::binary) << content;
    }

    std::filesystem::path directory;
    std::filesystem::path path;
    std::filesystem::path backupPath;
    std::string lineBreak;  // as the log file stores it
    const LogScope scope{"Log::Test"};
};

// The fake's clock reads 09:15:02.031 on the twelfth of June.
constexpr char kStamp[] = "\t09:15:02:031\t0612 ";

TEST_F(LogFileTest, NumbersEntriesAcrossCalls) {
    UseFile(0, 2);
    scope.Trace("first %d", 1);
    scope.Debug("not for the file");
    scope.Error("second");

    EXPECT_EQ(Read(path), std::string("00000000") + kStamp + "QRM:T:Log::Test - first 1 " + lineBreak +
                              "00000001" + kStamp + "QRM:E:Log::Test - second " + lineBreak + "00000002");
    EXPECT_TRUE(platform->DebugLines().empty());
}

// What an entry finds at the end of an existing file.
struct TailCase {
    const char* name;
    std::string content;
    std::string leadingNumber;
    std::string trailingNumber;
};

void PrintTo(const TailCase& c, std::ostream* out) { *out << c.name; }

class EntryNumberTest : public LogFileTest, public ::testing::WithParamInterface<TailCase> {};

TEST_P(EntryNumberTest, ContinuesANumberAndStartsAgainWithout) {
    const TailCase& c = GetParam();
    if (!c.content.empty()) Write(path, c.content);
    UseFile(0, 3);
    scope.Trace("entry");

    EXPECT_EQ(Read(path),
              c.content + c.leadingNumber + kStamp + "QRM:T:Log::Test - entry " + lineBreak + c.trailingNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, EntryNumberTest,
    ::testing::Values(TailCase{"MissingFile", "", "00000000", "00000001"},
                      TailCase{"EightBytesOnly", "00000007", "00000000", "00000001"},
                      TailCase{"NumberedEntry", "00000006\tentry \n00000007", "", "00000008"},
                      TailCase{"SpacesBeforeTheNumber", "entry \n      12", "", "00000013"},
                      TailCase{"NoNumber", "plain text at the end", "00000000", "00000001"}),
    [](const auto& info) { return std::string(info.param.name); });

// How long a file must be so that the next entry leaves it `finalLength`
// bytes long: a file ending in entry number 5 followed by one entry.
std::string FileBeforeEntry(size_t finalLength, const std::string& line, const std::string& lineBreak) {
    const size_t entryLength = std::string(kStamp).size() + line.size() + 1 + lineBreak.size() + 8;
    return std::string(finalLength - entryLength - 8, 'x') + "00000005";
}

TEST_F(LogFileTest, RotatesOnlyAbove2000000Bytes) {
    UseFile(0, 2, true);
    const std::string line = "QRM:T:Log::Test - entry";
    Write(backupPath, "older backup");

    Write(path, FileBeforeEntry(2000000, line, lineBreak));
    scope.Trace("entry");
    EXPECT_EQ(std::filesystem::file_size(path), 2000000u);
    EXPECT_EQ(Read(backupPath), "older backup");

    Write(path, FileBeforeEntry(2000001, line, lineBreak));
    scope.Trace("entry");
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(std::filesystem::file_size(backupPath), 2000001u);
    EXPECT_EQ(Read(backupPath).substr(2000001 - 8), "00000006");

    scope.Trace("next");
    EXPECT_EQ(Read(path), std::string("00000000") + kStamp + "QRM:T:Log::Test - next " + lineBreak + "00000001");
}

TEST_F(LogFileTest, WithoutBackupPathTheFileKeepsGrowing) {
    UseFile(0, 2);
    const std::string line = "QRM:T:Log::Test - entry";
    Write(path, FileBeforeEntry(2000001, line, lineBreak));
    scope.Trace("entry");
    EXPECT_EQ(std::filesystem::file_size(path), 2000001u);
}

TEST_F(LogFileTest, EntriesOfTwoThreadsNeverInterleave) {
    UseFile(0, 2);
    constexpr int kEntries = 300;
    auto writer = [this](int thread) {
        for (int entry = 0; entry < kEntries; ++entry) scope.Trace("thread %d entry %d", thread, entry);
    };
    std::thread first(writer, 0);
    std::thread second(writer, 1);
    first.join();
    second.join();

    std::istringstream content(Read(path));
    // What the file's line break holds before its line feed ("\r" on Windows).
    const std::string beforeLineFeed = lineBreak.substr(0, lineBreak.size() - 1);
    const std::regex entryPattern(R"((\d{8})\t09:15:02:031\t0612 QRM:T:Log::Test - thread ([01]) entry (\d+) )");
    std::string text;
    int number = 0;
    int nextEntry[2] = {0, 0};
    while (std::getline(content, text) && number < 2 * kEntries) {
        ASSERT_TRUE(text.ends_with(beforeLineFeed)) << text;
        text.resize(text.size() - beforeLineFeed.size());
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, entryPattern)) << text;
        EXPECT_EQ(std::stoi(match[1]), number);
        EXPECT_EQ(std::stoi(match[3]), nextEntry[std::stoi(match[2])]++);
        ++number;
    }
    EXPECT_EQ(number, 2 * kEntries);
    EXPECT_EQ(text, "00000600");
}

class LevelTest : public LogFileTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(LevelTest, FormatsOnlyWhatASinkTakes) {
    const LevelCase& c = GetParam();
    UseFile(c.debuggerLevel, c.fileLevel);
    int formattedLength = -1;
    scope.Debug("debug%n", &formattedLength);
    EXPECT_EQ(formattedLength, c.formatted ? 5 : -1);
    EXPECT_EQ(platform->DebugLines().size(), c.debuggerLevel >= 3 ? 1u : 0u);
    EXPECT_EQ(std::filesystem::exists(path), c.fileLevel >= 3);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelTest,
                         ::testing::Values(LevelCase{"NoSink", 2, 0, false},
                                           LevelCase{"BothBelow", 2, 2, false},
                                           LevelCase{"Debugger", 3, 0, true},
                                           LevelCase{"FileOnly", 0, 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A sink setting, and the call's error codes found unchanged after it.
struct ErrorCodeCase {
    const char* name;
    int debuggerLevel;
    int fileLevel;
    bool fileOpens;
};

void PrintTo(const ErrorCodeCase& c, std::ostream* out) { *out << c.name; }

class ErrorCodeTest : public LogFileTest, public ::testing::WithParamInterface<ErrorCodeCase> {};

TEST_P(ErrorCodeTest, LeavesTheCallersErrorCodes) {
    const ErrorCodeCase& c = GetParam();
    // The directory itself cannot be opened as the log file.
    const std::string filePath = c.fileOpens ? path.string() : directory.string();
    Log::Instance().Configure("QRM", c.debuggerLevel, c.fileLevel, filePath.c_str(), nullptr);

    platform->SetLastError(1234);
    errno = EAGAIN;
    scope.Error("after a failing call");
    EXPECT_EQ(platform->GetLastError(), 1234u);
    EXPECT_EQ(errno, EAGAIN);
}

INSTANTIATE_TEST_SUITE_P(Sinks, ErrorCodeTest,
                         ::testing::Values(ErrorCodeCase{"Debugger", 3, 0, true},
                                           ErrorCodeCase{"DebuggerAndFile", 3, 3, true},
                                           ErrorCodeCase{"FileThatCannotBeOpened", 0, 3, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
