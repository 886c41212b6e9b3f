#pragma once

#include "core/JerseySpec.h"
#include "core/SaveSweep.h"
#include "jobs/Messages.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <cstdint>
#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kitloom::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::filesystem::path& path() const { return path_; }
    // The folder as a path prefix with its closing separator.
    std::string prefix() const;
    std::string operator/(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

// Makes `folder` the current folder until it goes away.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::filesystem::path& folder);
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;
    ~ScopedCurrentFolder();

private:
    std::filesystem::path previous_;
};

using ShownMessage = SystemMessage;

class RecordingMessages final : public Messages {
public:
    void show(MessageKind kind, const std::string& text) override { shown.push_back({kind, text}); }
    std::vector<ShownMessage> shown;
};

// Keeps every table report a job tells of; asks to stop once it holds `stopAfter` of them.
class RecordingProgress {
public:
    explicit RecordingProgress(std::size_t stopAfter = SIZE_MAX) : stopAfter_(stopAfter) {}
    TableProgress callback()
    {
        return [this](const TableReport& report) {
            reports.push_back(report);
            return reports.size() < stopAfter_;
        };
    }
    std::vector<TableReport> reports;

private:
    std::size_t stopAfter_;
};

inline ShownMessage error(std::string text) { return {MessageKind::Error, std::move(text)}; }
inline ShownMessage success(std::string text) { return {MessageKind::Success, std::move(text)}; }

// Empty for anything but a file.
Bytes readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes toBytes(const std::string& text);

// A well-formed team-gear table of `count` records. Record i's bytes are a pattern
// that differs from every other record's, so that a copied record can be recognised.
Bytes makeTable(std::uint32_t count, bool endOfFileMarker = false);
Bytes recordPattern(std::uint32_t index);
// Writes makeTable(count) as <game>/saves/<folder>/teamgear.dbf and returns its path.
std::filesystem::path addSaveTable(const TempFolder& game, const std::string& folder, std::uint32_t count);

std::uint32_t recordCountOf(const Bytes& table);

// The folder kitloom-cli's journal lives under in this test process, and a way to put it
// elsewhere for a while.
std::string journalHomeForTests();
void useJournalHome(const std::string& folder);

// The jersey of the patch example: team 5, Alternate, ABCD, 1998-99, White accessories
// (code 3), white socks, neck row 1, horizontal lettering, and the given shoe code.
JerseySpec exampleJersey(std::int32_t shoe);

}  // namespace kitloom::test
