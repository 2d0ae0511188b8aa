#include "support/Log.h"

#include "platform/Platform.h"

#include <cerrno>
#include <cstring>

const char* const kLogLevelTags[8] = {":::", ":I:", ":S:", ":E:", ":W:", ":F:", ":T:", ":D:"};

namespace {

const char kGlobalScopeName[] = "";

// A fixed composition area on the caller's stack that never overruns.
class LineBuffer {
public:
    void Append(const char* text) {
        size_t room = Log::kMaxLineLength - used_;
        size_t length = std::strlen(text);
        if (length > room) length = room;
        std::memcpy(area_ + used_, text, length);
        used_ += length;
        area_[used_] = '\0';
    }

    void AppendFormatted(const char* format, va_list arguments) {
        size_t room = Log::kMaxLineLength - used_;
        int length = std::vsnprintf(area_ + used_, room + 1, format, arguments);
        if (length > 0) used_ += static_cast<size_t>(length) < room ? static_cast<size_t>(length) : room;
        area_[used_] = '\0';
    }

    const char* Text() const { return area_; }

private:
    char area_[512] = {};
    size_t used_ = 0;
};

}  // namespace

LogScope GlobalLogScope(kGlobalScopeName);

Log& Log::Instance() {
    // Never destroyed: a worker thread that is still running while the
    // process exits keeps logging into a live instance.
    static Log* const log = new Log;
    return *log;
}

void Log::Configure(const char* moduleTag, int debuggerLevel, int fileLevel, const char* filePath,
                    const char* backupPath) {
    moduleTag_ = moduleTag;
    SetDebuggerLevel(debuggerLevel);
    SetFileOutput(fileLevel, filePath, backupPath);
}

void Log::SetDebuggerLevel(int level) { debuggerLevel_ = level; }

void Log::SetFileOutput(int fileLevel, const char* filePath, const char* backupPath) {
    std::lock_guard<std::mutex> lock(fileMutex_);
    if (fileLevel > 0 && filePath) {
        fileLevel_ = fileLevel;
        filePath_ = filePath;
        backupPath_ = backupPath ? std::optional<std::string>(backupPath) : std::nullopt;
    } else {
        fileLevel_ = 0;
        filePath_.reset();
        backupPath_.reset();
    }
}

void Log::Format(int level, const char* levelTag, const char* scopeName, const char* format, va_list arguments) {
    if (level > debuggerLevel_ && level > fileLevel_) return;

    Platform& platform = Platform::Current();
    const uint32_t savedError = platform.GetLastError();
    const int savedErrno = errno;

    LineBuffer line;
    line.Append(moduleTag_.c_str());
    line.Append(levelTag);
    if (scopeName != GlobalLogScope.Name()) {
        line.Append(scopeName);
        line.Append(" - ");
    }
    line.AppendFormatted(format, arguments);
    Output(level, line.Text());

    errno = savedErrno;
    platform.SetLastError(savedError);
}

void Log::Output(int level, const char* line) {
    if (level <= debuggerLevel_) WriteToDebugger(line);
    if (level <= fileLevel_) WriteToFile(line);
}

void Log::WriteToDebugger(const char* line) {
    char withBreak[Log::kMaxLineLength + 2];
    size_t length = std::strlen(line);
    if (length > kMaxLineLength) length = kMaxLineLength;
    std::memcpy(withBreak, line, length);
    withBreak[length] = '\n';
    withBreak[length + 1] = '\0';
    Platform::Current().WriteDebugString(withBreak);
}

void Log::WriteToFile(const char* line) {
    std::lock_guard<std::mutex> lock(fileMutex_);
    if (!filePath_) return;
    FILE* file = std::fopen(filePath_->c_str(), "a+");
    if (!file) return;

    const long number = ReadEntryNumber(file);
    std::fseek(file, 0, SEEK_END);
    if (number == 0) std::fprintf(file, "%08d", 0);
    const LocalTime time = Platform::Current().GetLocalTime();
    std::fprintf(file, "\t%02d:%02d:%02d:%03d\t%02d%02d %s \n%08d", time.hour, time.minute, time.second,
                 time.millisecond, time.month, time.day, line, static_cast<int>(number + 1));
    const long length = std::ftell(file);
    std::fclose(file);
    RotateFile(length);
}

long Log::ReadEntryNumber(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long length = std::ftell(file);
    if (length <= 8) return 0;
    if (std::fseek(file, length - 8, SEEK_SET) != 0) return 0;
    int number = 0;
    if (std::fscanf(file, "%d", &number) != 1) return 0;
    return number;
}

void Log::RotateFile(long fileLength) {
    if (fileLength <= kMaxFileLength || !backupPath_) return;
    std::remove(backupPath_->c_str());
    std::rename(filePath_->c_str(), backupPath_->c_str());
}

void LogScope::Error(const char* format, ...) const {
    va_list arguments;
    va_start(arguments, format);
    Log::Instance().Format(kLogError, kLogLevelTags[3], name_, format, arguments);
    va_end(arguments);
}

void LogScope::Trace(const char* format, ...) const {
    va_list arguments;
    va_start(arguments, format);
    Log::Instance().Format(kLogTrace, kLogLevelTags[6], name_, format, arguments);
    va_end(arguments);
}

void LogScope::Debug(const char* format, ...) const {
    va_list arguments;
    va_start(arguments, format);
    Log::Instance().Format(kLogDebug, kLogLevelTags[7], name_, format, arguments);
    va_end(arguments);
}
