// The process-wide diagnostic log: every line carries a module tag, a level
// tag, the writing function's name and a printf-style message, and goes to
// the debugger output and, when configured, to a numbered log file.
#pragma once

#include "support/Format.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

// The levels of the three logging calls; a sink takes a line whose level is
// at most its own.
enum LogLevel : int {
    kLogError = 1,
    kLogTrace = 2,
    kLogDebug = 3,
};

// The level tags; Error, Trace and Debug use the fourth, seventh and eighth.
extern const char* const kLogLevelTags[8];

class Log {
public:
    // A composed line is cut to this many characters, so that it fits the
    // 512-byte composition area with the debugger's line feed and a NUL.
    static constexpr size_t kMaxLineLength = 510;
    // A log file longer than this is moved to the backup path.
    static constexpr long kMaxFileLength = 2000000;

    // The single instance, created by the first call; it lasts until the
    // process has ended.
    static Log& Instance();

    virtual ~Log() = default;

    // `moduleTag` must be present (it may be empty); the paths may be null.
    void Configure(const char* moduleTag, int debuggerLevel, int fileLevel, const char* filePath,
                   const char* backupPath);
    void SetDebuggerLevel(int level);
    // Turns the file sink on only for a level above 0 with a file path.
    void SetFileOutput(int fileLevel, const char* filePath, const char* backupPath);

    // Composes one line and hands it to the sinks that admit its level.
    void Format(int level, const char* levelTag, const char* scopeName, const char* format, va_list arguments);
    void Output(int level, const char* line);

    // The entry number at the end of an open log file, or 0 if it has none.
    static long ReadEntryNumber(FILE* file);

    int FileLevel() const { return fileLevel_; }
    int DebuggerLevel() const { return debuggerLevel_; }
    const std::string& ModuleTag() const { return moduleTag_; }
    const std::optional<std::string>& FilePath() const { return filePath_; }
    const std::optional<std::string>& BackupPath() const { return backupPath_; }

private:
    Log() = default;

    void WriteToDebugger(const char* line);
    void WriteToFile(const char* line);
    void RotateFile(long fileLength);

    int fileLevel_ = 0;
    int debuggerLevel_ = 2;
    std::string moduleTag_;
    std::optional<std::string> filePath_;
    std::optional<std::string> backupPath_;
    std::mutex fileMutex_;
};

// Names the function that writes lines; its name is borrowed, not copied.
class LogScope {
public:
    explicit constexpr LogScope(const char* name) : name_(name) {}
    virtual ~LogScope() = default;

    void Error(const char* format, ...) const ADDRIX_PRINTF(2, 3);
    void Trace(const char* format, ...) const ADDRIX_PRINTF(2, 3);
    void Debug(const char* format, ...) const ADDRIX_PRINTF(2, 3);

    const char* Name() const { return name_; }

private:
    const char* name_;
};

// The scope of code without one of its own: its lines carry no scope part.
extern LogScope GlobalLogScope;
