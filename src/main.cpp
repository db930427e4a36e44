// The windowed program's entry: the command line, the trace and the settings
// store, then the program itself.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings_sections.h"
#include "base/memory/heap_release.h"
#include "base/settings/settings_store.h"
#include "base/trace/trace.h"
#include "platform/sound/audio_environment.h"
#include "platform/window/command_line.h"
#include "platform/window/message_box.h"
#include "platform/window/program.h"

#ifndef VELTRANE_VERSION
#define VELTRANE_VERSION "0"
#endif

int main(int argc, char** argv) {
  using namespace veltrane;
  using window::CommandLineFile;
  using window::Fail;
  KeepLargeBlocksApart();
  sound::PrepareAudioEnvironment();
  window::InstallTerminationHandlers();
  if (const auto status = window::RunAsMessageBox(argc, argv)) return *status;
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string error;
  auto cl = window::ParseCommandLine(args, error);
  if (!cl) {
    Fail(error);
    std::fputs(window::UsageText("veltrane").c_str(), stderr);
    return 2;
  }
  if (cl->help) {
    std::fputs(window::UsageText("veltrane").c_str(), stdout);
    return 0;
  }
  if (cl->version) {
    std::printf("veltrane %s\n", VELTRANE_VERSION);
    return 0;
  }
  if (!cl->model.empty() && CommandLineFile(cl->model).empty()) {
    Fail("no model file " + cl->model);
    return 2;
  }
  if (!cl->landscape.empty() && CommandLineFile(cl->landscape).empty()) {
    Fail("no landscape file " + cl->landscape);
    return 2;
  }
  try {
    Trace trace;
    if (!cl->traceFile.empty()) trace = Trace::ToFile(cl->traceFile);
    std::filesystem::path folder = cl->configDir.empty() ? SettingsStore::DefaultFolder()
                                                         : std::filesystem::path(cl->configDir);
    SettingsStore settings(folder, NumberFormat::FromEnvironment(), ProgramSettingsSections());
    if (!settings.LoadNote().empty()) ReportSettingsNote(settings.LoadNote(), trace);
    window::Program program(*cl, trace, settings);
    return program.Run();
  } catch (const std::exception& e) {
    Fail(e.what());
    return 1;
  }
}
