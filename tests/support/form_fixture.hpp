#pragma once
// The program wired to a recording host, a scripted input dialog and a fake desktop, with its
// application directory in a temporary folder that the test fills with data files.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/scripted_dialog.hpp"
#include "app/vembrel.hpp"
#include "host/op_log.hpp"
#include "tests/support/fixtures.hpp"

namespace vembrel::testing {

class FakeDesktop : public Desktop {
 public:
  std::string openHelp(const std::string& path) override {
    opened.push_back(path);
    return {};
  }
  void reportProblem(const std::string& message) override { problems.push_back(message); }
  void quit() override { ++quits; }
  std::vector<std::string> opened, problems;
  int quits = 0;
};

class FormTest : public ::testing::Test {
 protected:
  FormTest() : form(host, dialog, desktop, dir.path().string()) {
    EXPECT_TRUE(form.start(15360).ok());
    host.ops.clear();
  }

  // Runs a menu item, answering its input dialog with `typed` (empty: Cancel), and returns
  // the operations it queued.
  std::vector<std::string> run(std::string_view item, std::string_view typed = {}) {
    host.ops.clear();
    dialog.typed = u16(typed);
    form.run(*find_menu_item(item));
    dialog.typed.clear();
    return host.ops;
  }

  // Writes a dictionary file from UTF-8 lines, in GBK with CR LF line ends.
  void writeDictionary(const std::string& name, std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (std::string_view line : lines) bytes += gbk(line) + "\r\n";
    dir.write("data/" + name, bytes);
  }

  std::vector<std::u16string> words() const { return rows(form.lookup_state().result.words); }
  std::vector<std::u16string> definitions() const {
    return rows(form.lookup_state().result.definitions);
  }
  std::int64_t current_index() const { return form.lookup_state().current_index; }

  TempDir dir;
  RecordingHost host;
  ScriptedDialog dialog;
  FakeDesktop desktop;
  Vembrel form;

 private:
  static std::vector<std::u16string> rows(const ResultList& list) {
    std::vector<std::u16string> out;
    for (std::size_t i = 0; i < list.count(); ++i) out.push_back(list.row(i));
    return out;
  }
};

}  // namespace vembrel::testing
