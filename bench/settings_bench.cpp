// Settings reads and writes on a file the size of the program's own, and ReplaceText on a
// chat line.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "settings/settings_store.h"
#include "text/text_ops.h"

namespace {

using vantary::text::Text;

class MemoryFiles : public vantary::platform::Files {
 public:
  std::map<std::string, std::string, std::less<>> files;

  Text programFolder() override { return "C:\\vantary"; }
  Text windowsFolder() override { return "C:\\windows"; }
  bool fileExists(std::string_view path) override { return files.find(path) != files.end(); }
  std::optional<std::string> readFile(std::string_view path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool writeFileAtomic(std::string_view path, std::string_view contents) override {
    files.insert_or_assign(std::string(path), std::string(contents));
    return true;
  }
  bool removeFile(std::string_view path) override { return files.erase(std::string(path)) > 0; }
};

constexpr std::string_view kPath = "c:\\windows\\vantari4583.dat";

// Forty keys as the program leaves them: options, counters, colours, and four custom lines
// of chat length.
MemoryFiles FortyKeyFile() {
  MemoryFiles files;
  std::string contents = "[vantari]\r\n";
  const char* const options[] = {"TRIG=.",      "DLUL=1",     "INT=5",    "LAGGFREE=0",   "REAS=1",
                                 "MM=0",        "OFFBE=1",    "ONAF=1",   "IMMUNE=0",     "REASON=eating",
                                 "ROOMENTER=0", "SETROOM=zz", "AUTOUP=0", "COLOR=336699", "COLOR2=000000",
                                 "HOUR=0",      "MINUTES=0",  "DAY=0",    "HOUR2=14",     "MINUTES2=37",
                                 "DAY2=3"};
  for (const char* line : options) contents += std::string(line) + "\r\n";
  for (int i = 1; i <= 3; ++i)
    contents += "AUTOASCII" + std::to_string(i) + "=\xB7\xB0\xB7 vantar\xFD\xB3 \xB7\xB0\xB7\r\n";
  for (int i = 1; i <= 4; ++i) {
    contents += "CUS" + std::to_string(i) + "=<b>idle</b> for m$ minutes and counting, be back soon: rea$ " +
                std::string(30, 'x') + "\r\n";
  }
  for (int i = 0; i < 12; ++i)
    contents += "EXTRA" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
  files.files[std::string(kPath)] = contents;
  return files;
}

void BM_ReadSetting(benchmark::State& state) {
  MemoryFiles files = FortyKeyFile();
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantary::settings::ReadSetting(files, "vantari", "minutes2", kPath));
  }
}
BENCHMARK(BM_ReadSetting);

void BM_WriteSetting(benchmark::State& state) {
  MemoryFiles files = FortyKeyFile();
  int minute = 0;
  for (auto _ : state) {
    // A new value each time, as the main timer's minute count, so every call rewrites.
    benchmark::DoNotOptimize(
        vantary::settings::WriteSetting(files, "vantari", "minutes2", std::to_string(minute++ % 60), kPath));
  }
}
BENCHMARK(BM_WriteSetting);

void BM_ReplaceText(benchmark::State& state) {
  const std::string line =
      "</u></s></i></b><font color=#336699>idle 12 Minutes, reason: eating minutes away minutes ok!";
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantary::text::ReplaceText(line, "minutes", "min"));
  }
  state.SetLabel(std::to_string(line.size()) + " chars");
}
BENCHMARK(BM_ReplaceText);

}  // namespace
