#pragma once
// An error manager for libjpeg that returns control to the caller instead of ending the
// process: the library's default error_exit calls exit(). Header-only and free of Qt, so
// the decoder of the platform layer and the encoder of the drawing program share it.
//
// Use: install with Install(), call setjmp(manager.jump) in a function that holds no C++
// object with a destructor across libjpeg calls, and read `message` after the jump.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace platform::jpeg {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] inline void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Corrupt-data warnings (level -1) end the work like errors: the library would otherwise
// pad a damaged or truncated picture with grey and report success.
inline void WarningIsError(j_common_ptr cinfo, int msgLevel) {
  if (msgLevel < 0) ErrorExit(cinfo);
}

inline void NoOutput(j_common_ptr) {}  // never print to stderr

// Sets up `m` and returns the pointer to store in cinfo.err.
inline jpeg_error_mgr* Install(ErrorManager& m, bool warningsAreErrors) {
  m.message[0] = '\0';
  jpeg_error_mgr* pub = jpeg_std_error(&m.pub);
  pub->error_exit = ErrorExit;
  pub->output_message = NoOutput;
  if (warningsAreErrors) pub->emit_message = WarningIsError;
  return pub;
}

}  // namespace platform::jpeg
