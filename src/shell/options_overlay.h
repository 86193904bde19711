// SPDX-License-Identifier: GPL-3.0-or-later
// The options overlay: pages of settings over the standing game, driven by keys and the pad.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"
#include "shell/settings.h"

namespace vane {

class OptionsOverlay : public host::PictureLayer {
 public:
  enum class Page { Display, Sound, Controls, GameSpeed, Records };
  static constexpr int kPages = 5;

  using Save = std::function<void(const ProgramOptions& before, const ProgramOptions& after)>;
  // `apply` puts the options into effect at once; `save` writes them when the overlay closes,
  // with the options as they were when it opened.
  OptionsOverlay(ProgramOptions& options, std::function<void(const ProgramOptions&)> apply,
                 Save save);

  bool isOpen() const { return open_; }
  void open();
  void close();
  // A key event while open: always kept from the game.
  void take(const platform::Event& event);
  void drawOver(host::Canvas& canvas) override;

  Page page() const { return page_; }

 private:
  struct Row {
    std::string label;
    std::string value;
    std::function<void(int)> change;  // Left (-1), Right (+1), Return (+1)
  };
  std::vector<Row> rows();
  std::vector<Row> displayRows();
  std::vector<Row> soundRows();
  std::vector<Row> speedRows();
  std::vector<Row> recordRows();
  void takeControlsKey(int virtualKey);
  void capture(const platform::Event& event);
  void move(int rowStep);
  void changed();
  void drawControls(host::Canvas& canvas, int top);
  int rowCount();

  ProgramOptions& options_;
  std::function<void(const ProgramOptions&)> apply_;
  Save save_;
  ProgramOptions before_;
  bool open_ = false;
  bool dirty_ = false;
  Page page_ = Page::Display;
  int row_ = 0;     // 0 is the page line
  int column_ = 0;  // Controls: 0 the key, 1 the pad
  bool capturing_ = false;
  bool muted_ = false;
  std::string status_;
};

}  // namespace vane
