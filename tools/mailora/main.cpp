// The demo host: loads Zorvek32.dll from its own folder and shows what the plug-in answers.
#include <cstdio>

#include "host.h"

int main() {
  mailora::Plugin plugin;
  if (!plugin.loaded()) {
    std::printf("Zorvek32.dll could not be loaded from %s\n", mailora::ExeFolder().c_str());
    return 1;
  }
  const char* name = plugin.GetPlugName()();
  std::printf("APCGetPlugName: %s\n", name);
  std::printf("ANSI code page: %u\n", ::GetACP());
  return 0;
}
