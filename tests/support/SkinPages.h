// The page elements of skin.xml loaded from their own files, as the frame's pages load them,
// for the tests that build a skin without the frame.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/DialogBuilder.h"

namespace testskin {

// The file a page element loads: a known element its own file, any other "X" loads "X.xml".
std::string PageFile(std::string_view element);

// Builds each page element it is asked for into a container, nested pages included; a page
// file that fails to build leaves its container empty and its error in `errors`.
class PageLoader : public IDialogBuilderCallback {
  public:
    CControlUI* CreateControl(const char* className) override;
    std::vector<std::string> errors;
};

}  // namespace testskin
