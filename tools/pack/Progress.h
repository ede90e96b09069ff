// A one-line progress display on stderr, shown only for large jobs on a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace Corvane::Pack {

class TProgress {
public:
    // Shown when stderr is a terminal and the job is large (more than 8 MiB or 200 files).
    TProgress(std::uint64_t totalBytes, std::uint64_t fileCount);
    ~TProgress();
    TProgress(const TProgress&) = delete;
    TProgress& operator=(const TProgress&) = delete;

    // Starts a step of the job, such as "writing the archive", of totalBytes.
    void Step(std::string label, std::uint64_t totalBytes);
    void Update(std::uint64_t doneBytes);
    // Leaves the last step's line at 100%.
    void Done();
    // Erases the current progress line, if any, so a message can take its place.
    static void ClearLine();

    static constexpr std::uint64_t kLargeBytes = 8u << 20;
    static constexpr std::uint64_t kLargeFiles = 200;

private:
    void Draw(std::uint64_t doneBytes);

    bool FShown;
    std::string FLabel;
    std::uint64_t FTotal = 1;
    std::chrono::steady_clock::time_point FLastDraw{};
};

} // namespace Corvane::Pack
