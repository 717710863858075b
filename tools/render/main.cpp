// kelpra-render: one library operation, or one page as the viewer shows it, written as BMP.
#include <cstdio>
#include <exception>
#include <new>
#include <span>
#include <string_view>

#include "codecs/picture_loader.h"
#include "core/file_search.h"
#include "render_args.h"
#include "render_op.h"
#include "render_page.h"

using namespace kelpra::render;

namespace {

int Fail(int code, const char* message) {
  std::fprintf(stderr, "kelpra-render: %s\n", message);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args(std::span<char* const>(argv + 1, argc > 0 ? argc - 1 : 0));
  try {
    const std::string_view command = args.Take("a command (op or page)");
    if (command == "op") {
      RunOperation(args);
    } else if (command == "page") {
      RunPage(args);
    } else {
      throw BadInput("unknown command \"" + std::string(command) + "\"");
    }
    return kExitDone;
  } catch (const BadInput& error) {
    std::fprintf(stderr, "kelpra-render: %s\n%s", error.what(), Usage().data());
    return kExitBadInput;
  } catch (const kelpra::FileListError& error) {  // unreadable files: no usage text
    return Fail(kExitBadInput, error.what());
  } catch (const kelpra::PictureError& error) {
    return Fail(kExitBadInput, error.what());
  } catch (const Refused& error) {
    return Fail(kExitRefused, error.what());
  } catch (const std::bad_alloc&) {
    return Fail(kExitFailed, "not enough memory");
  } catch (const std::exception& error) {
    return Fail(kExitFailed, error.what());
  }
}
