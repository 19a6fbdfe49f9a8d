// The scripted driver of the report generator's tests: the program's start
// on an offscreen display, in a scratch folder under /tmp that is its
// current folder (removed at the end); clicks and keys injected as input;
// every alert and question answered from a script queued beforehand (text
// expected, button pressed), a box with no answer queued or an answer left
// over failing the test.
#pragma once

#include "toolkit/core/object.h"
#include "toolkit/platform/offscreen.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace urt {

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void Answer(const std::string& text, int button) { script.emplace_back(text, button); }
    void Click(WkObject* object);
    void Type(const std::string& text);
    void SavePng(WkObject* window, const std::string& name);
    // Makes the folder under the scratch folder, with a section file of
    // these bytes unless text is null; returns its path.
    std::string Section(const std::string& name, const char* text);
    // Chooses the folder in the tree and presses "Add Section".
    void AddFolder(const std::string& path);

    std::string folder; // the scratch folder, ending in '/'
    std::unique_ptr<plat::OffscreenDisplay> display;
    std::deque<std::pair<std::string, int>> script;
    std::vector<std::string> boxTitles; // of every box answered, in order

  private:
    bool AnswerOpenBox();
    void Inject(WkObject* object); // press and release, not yet handled
    std::string savedFolder_, program_;
    char* argv_[2] = {};
};

} // namespace urt
