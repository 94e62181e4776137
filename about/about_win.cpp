#include "about/about_win.h"
namespace quill {
void ShowAboutWindow() {}
}
