#pragma once
// Writing the events of one event source.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

class IEventLog {
public:
    virtual ~IEventLog() = default;
    // Names source and registers it under the Application log with its
    // message file (the installation's job; nothing in the system calls it).
    virtual void RegisterSource(const std::string& source, const std::string& messageFile) = 0;
    // Writes one event of category 0 under the source name; false with no
    // source name, or when the event could not be written.
    virtual bool Report(DWORD eventId, WORD type, const std::vector<std::string>& strings,
                        std::string_view data = {}) = 0;
    virtual void SetSourceName(const std::string& name) = 0;
    virtual std::string GetSourceName() const = 0;
};

class CEventLog : public IEventLog {
public:
    void RegisterSource(const std::string& source, const std::string& messageFile) override;
    bool Report(DWORD eventId, WORD type, const std::vector<std::string>& strings,
                std::string_view data = {}) override;
    void SetSourceName(const std::string& name) override { source_ = name; }
    std::string GetSourceName() const override { return source_; }

private:
    std::string source_;
};

}  // namespace vorlan
