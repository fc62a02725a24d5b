#include "tools/fxhost/ProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/fxhost/System.h"

namespace fxhost {

ProgressBar::ProgressBar(uint64_t frameTotal, bool wanted)
    : total(frameTotal), enabled(wanted && frameTotal > 1 && StandardErrorIsTerminal()),
      start(std::chrono::steady_clock::now()), lastDraw(start) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Update(uint64_t done) {
  if (!enabled) return;
  const auto now = std::chrono::steady_clock::now();
  if (done < total && drawn && now - lastDraw < std::chrono::milliseconds(100)) return;
  lastDraw = now;
  Draw(done);
}

void ProgressBar::Draw(uint64_t done) {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
  char tail[96];
  std::snprintf(tail, sizeof tail, " %llu/%llu frames, %.1f fps", static_cast<unsigned long long>(done),
                static_cast<unsigned long long>(total), rate);
  const int width = std::clamp(TerminalColumns() - static_cast<int>(std::string(tail).size()) - 3, 10, 60);
  const int filled = static_cast<int>(static_cast<double>(width) * static_cast<double>(done) / static_cast<double>(total));
  std::string bar = "\r[" + std::string(static_cast<size_t>(filled), '#') +
                    std::string(static_cast<size_t>(width - filled), '.') + "]" + tail;
  std::fputs(bar.c_str(), stderr);
  std::fflush(stderr);
  drawn = true;
}

void ProgressBar::Finish() {
  if (!drawn) return;
  std::fputs("\r\033[K", stderr);  // clear the line: the summary follows
  std::fflush(stderr);
  drawn = false;
}

}  // namespace fxhost
