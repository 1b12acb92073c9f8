// kovrelin-browser [FOLDER...]: the browser, opened on the folders given.
#include <string>
#include <vector>

#include "app/startup.h"

int main(int argc, char** argv)
{
  std::vector<std::string> paths(argv + 1, argv + argc);
  return KVapp_main(paths);
}
