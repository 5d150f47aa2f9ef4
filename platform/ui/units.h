#pragma once
// Typed handles of windows and controls. A handle names a unit by its program and id, so
// it stays safe to hold after the unit has gone: reads then give empty values and writes
// do nothing, as the programs' operations never throw. Code finds the controls of a
// window once by their layout names (GBK texts): window.Find<ListBox>("列表框_状态").

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/unit_model.h"

namespace korvane::platform::ui {

class Program;
class UnitServices;
class Window;

class Unit {
 public:
  Unit() = default;
  Unit(Program& program, UnitId id) : program_(&program), id_(id) {}
  static bool Accepts(UnitKind) { return true; }

  bool IsAlive() const { return Model() != nullptr; }
  UnitId Id() const { return id_; }
  Program* GetProgram() const { return program_; }
  UnitKind Kind() const;  // kWindow once the unit has gone
  Text Name() const;
  Window ParentWindow() const;
  bool operator==(const Unit& other) const { return program_ == other.program_ && id_ == other.id_; }

  bool Visible() const;
  void SetVisible(bool visible);
  // Visible and inside visible parents: what the user can see.
  bool Shown() const;
  bool Enabled() const;
  void SetEnabled(bool enabled);
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);
  Text Caption() const;
  void SetCaption(const Text& caption);
  Text Hint() const;
  Colour BackColour() const;
  // On a drawing panel or picture box this also clears what was painted.
  void SetBackColour(Colour colour);
  Colour TextColour() const;
  void SetTextColour(Colour colour);
  Font GetFont() const;
  void SetFont(const Font& font);
  Alignment GetAlignment() const;
  void SetAlignment(Alignment alignment);
  Border GetBorder() const;
  void SetBorder(Border border);
  // The area inside the border.
  int DrawableWidth() const;
  int DrawableHeight() const;

 protected:
  // The unit's state, nullptr once it has gone. Backends, the dump, the script and tests
  // read it through ModelOf (program_ports.h); the programs only through the handles.
  const UnitModel* Model() const;
  UnitModel* MutableModel() const;
  // What the handles ask of their program (program_ports.h), theirs alone; nullptr for a
  // handle of no program.
  UnitServices* Services() const;
  // Tells the backend that the unit has changed.
  void Changed() const;

 private:
  Program* program_ = nullptr;
  UnitId id_ = 0;
};

class PictureBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kPictureBox; }
  Text Picture() const;
  void SetPicture(const Text& picture);
};

class PictureButton : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kPictureButton; }
  Text NormalPicture() const;
  Text HoverPicture() const;
  Text PressedPicture() const;
  Text DisabledPicture() const;
  void SetNormalPicture(const Text& picture);
  void SetHoverPicture(const Text& picture);
  void SetPressedPicture(const Text& picture);
  void SetDisabledPicture(const Text& picture);
};

// A label or a transparent label: Caption, alignment, border, colours, font, word wrap.
class Label : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) {
    return kind == UnitKind::kLabel || kind == UnitKind::kTransparentLabel;
  }
};

class CheckBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kCheckBox; }
  // 1 ticked, 0 not.
  int Tick() const;
  void SetTick(int tick);
};

// Items are numbered from 0 in list order, children included; -1 is no item.
class TreeBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kTreeBox; }
  void Clear();
  // Adds a last child of `parent` (-1: a top-level item) and returns its number.
  int AddItem(int parent, const Text& text);
  void Expand(int item);
  int GetParent(int item) const;
  int ItemCount() const;
  Text ItemText(int item) const;
  int CurrentSelection() const;
  void SetCurrentSelection(int item);
};

// Rows are numbered from 0; -1 selects nothing.
class ListBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kListBox; }
  void Clear();
  int AddItem(const Text& text);
  // Inserts before row `index` (at the end when out of range) and returns its row.
  int InsertItem(int index, const Text& text);
  int GetCount() const;
  Text GetItemText(int index) const;  // empty text out of range
  int Selection() const;
  void SetSelection(int index);
};

// The text of an edit box is its Caption.
class EditBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kEditBox; }
};

class GroupBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kGroupBox; }
};

// A panel that code draws on: gradients through the device-context calls of Program,
// text at a write position in the panel's Font and TextColour, glyphs only.
class DrawPanel : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kDrawPanel; }
  bool AutoRedraw() const;
  void SetAutoRedraw(bool auto_redraw);
  // DrawPanelSetWritePosition, DrawPanelWriteText, DrawPanelTextWidth, DrawPanelTextHeight.
  // Writing moves the write position to the start of the next line.
  void SetWritePosition(int x, int y);
  void WriteText(const Text& text);
  int TextWidth(const Text& text) const;
  int TextHeight(const Text& text) const;
  // The newest paints, oldest first (paint.h keeps the last PaintRecord::kRecentKept).
  const std::vector<PaintOp>& Paints() const;
  // Paints ever made, a mark for PaintsSince, which gives the paints made after it.
  std::uint64_t PaintCount() const;
  std::vector<PaintOp> PaintsSince(std::uint64_t mark) const;
};

class Timer : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kTimer; }
  // Ticks every Interval ms from load; setting it starts the count afresh, 0 stops it.
  int Interval() const;
  void SetInterval(int interval_ms);
};

class WebBrowserBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kWebBrowserBox; }
  // A refused address empties the page and raises no event.
  void Navigate(const Text& address);
  void GoBack();
  void GoForward();
  void Stop();
  void Refresh();
  Text Address() const;
  // The raw bytes of the page shown.
  std::string GetPageSource() const;
  // The same bytes without a copy, unchanged by later loads (never null).
  std::shared_ptr<const std::string> SharedPageSource() const;
};

class HypertextBox : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kHypertextBox; }
  Text Address() const;
  void SetAddress(const Text& address);
};

class PlaybackEngine : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kPlaybackEngine; }
  void Play();
  void Pause();
  void Stop();
  void PrepareEpisodeChange();
  void SetMediaAddress(const Text& address);
  void SetPauseAdAddress(const Text& address);
  Text MediaAddress() const;
  Text PauseAdAddress() const;
};

// A unit without a window that unpacks zip archives.
class ZipUnit : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kZipUnit; }
  // Writes every entry below `target_folder` with its stored relative path, creating
  // folders and replacing files (platform/services/unzip.h); paths are the programs'
  // Windows-style texts. True when every entry was written.
  bool UnzipToDirectory(const std::string& archive, const std::string& target_folder);
};

class MenuSkin : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kMenuSkin; }
};

class Window : public Unit {
 public:
  using Unit::Unit;
  static bool Accepts(UnitKind kind) { return kind == UnitKind::kWindow; }

  // The control named `name` of a kind that T accepts; a missing name or another kind is
  // a fault of the program and throws LayoutError.
  template <typename T>
  T Find(std::string_view name) const {
    return T(*GetProgram(), FindId(name, &T::Accepts));
  }
  bool Has(std::string_view name) const;
  bool AlwaysOnTop() const;
  void SetAlwaysOnTop(bool on_top);
  WindowPosition Position() const;
  void SetPosition(WindowPosition position);
  // Not disabled by a modal window above it.
  bool Interactive() const;
  bool IsModal() const;
  // A close has been requested (it is carried out from the loop), or the window has gone.
  bool Closing() const;

 private:
  UnitId FindId(std::string_view name, bool (*accepts)(UnitKind)) const;
};

}  // namespace korvane::platform::ui
