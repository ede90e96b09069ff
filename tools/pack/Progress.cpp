// Draws the progress line: step, percent and bytes, redrawn at most ten times a second.
#include "Progress.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace Corvane::Pack {

namespace {

bool gLineOpen = false;

} // namespace

TProgress::TProgress(std::uint64_t totalBytes, std::uint64_t fileCount)
    : FShown(::isatty(STDERR_FILENO) && (totalBytes > kLargeBytes || fileCount > kLargeFiles)) {}

TProgress::~TProgress() {
    ClearLine();
}

void TProgress::Step(std::string label, std::uint64_t totalBytes) {
    FLabel = std::move(label);
    FTotal = std::max<std::uint64_t>(totalBytes, 1);
    if (FShown) Draw(0);
}

void TProgress::Update(std::uint64_t doneBytes) {
    if (!FShown) return;
    const auto now = std::chrono::steady_clock::now();
    if (gLineOpen && now - FLastDraw < std::chrono::milliseconds(100)) return;
    Draw(doneBytes);
}

void TProgress::Done() {
    if (!FShown) return;
    Draw(FTotal);
    std::fputc('\n', stderr);
    gLineOpen = false;
    FShown = false;
}

void TProgress::Draw(std::uint64_t doneBytes) {
    FLastDraw = std::chrono::steady_clock::now();
    doneBytes = std::min(doneBytes, FTotal);
    const double mib = 1024.0 * 1024.0;
    std::fprintf(stderr, "\r\033[Kcrv-pack: %s %3u%%  %.1f of %.1f MiB", FLabel.c_str(),
                 static_cast<unsigned>(doneBytes * 100 / FTotal), static_cast<double>(doneBytes) / mib,
                 static_cast<double>(FTotal) / mib);
    std::fflush(stderr);
    gLineOpen = true;
}

void TProgress::ClearLine() {
    if (!gLineOpen) return;
    std::fputs("\r\033[K", stderr);
    gLineOpen = false;
}

} // namespace Corvane::Pack
