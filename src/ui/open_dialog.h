#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltrane::ui {

// One entry of a filter text "Description|*.a;*.b|Other|*.c".
struct FileFilter {
  std::string description;
  std::vector<std::string> patterns;  // "*.mdl", lower-cased
};

std::vector<FileFilter> ParseFilter(const std::string& filterText);
// Case-insensitive match of a file name against "*", "*.ext" or "name.*" patterns.
bool MatchesPattern(const std::string& fileName, const std::string& pattern);

// The picture shown beside the file list: for the model and scene extensions the
// "_prv.jpg" beside the file; for picture files the file itself. Empty: none.
std::string PreviewPictureFor(const std::filesystem::path& selected);

// Where a model file stands in the list, from its first values: 0 powered airplanes
// (and every file that is not a readable .par or .mdl), 1 gliders (no thrust),
// 2 helicopters. The dialog lists by this rank, then by name.
int ModelKindRank(const std::filesystem::path& file);

// Where a landscape stands in the list: 0 flying fields, 1 slope sites (a scene that
// names the wind it is made for). Every other file ranks 0.
int SceneKindRank(const std::filesystem::path& file);

// The open dialog with preview, without its drawing: folder browsing, filter
// choice and selection. The ImGui layer shows it.
class OpenDialog {
 public:
  struct Entry {
    std::string name;
    bool isFolder = false;
    int group = 0;  // files: the rank of ModelKindRank or SceneKindRank
  };
  // A folder the dialog offers beside the list: the shipped models and the user's own.
  struct Place {
    std::string label;
    std::filesystem::path folder;
  };

  // initialFolder is used when the proposed file has no existing folder of its own.
  void Open(const std::string& title, const std::string& filterText,
            const std::string& proposedFile, const std::filesystem::path& initialFolder);
  void Close() { open_ = false; }
  bool IsOpen() const { return open_; }

  // Offered from the next Open() on; a place that does not exist yet is made
  // when it is chosen, so the user sees where their own files belong.
  void SetPlaces(std::vector<Place> places) { places_ = std::move(places); }
  const std::vector<Place>& Places() const { return places_; }
  // The place the current folder is in, or -1.
  int CurrentPlace() const;
  void GoToPlace(int index);

  void SetFilter(int index);
  void EnterFolder(const std::string& name);  // ".." goes up
  void Select(const std::string& name);
  // The chosen file's full path when it exists; empty otherwise.
  std::string Accept();

  const std::string& Title() const { return title_; }
  const std::filesystem::path& Folder() const { return folder_; }
  const std::vector<Entry>& Entries() const { return entries_; }
  const std::vector<FileFilter>& Filters() const { return filters_; }
  int FilterIndex() const { return filterIndex_; }
  const std::string& Selected() const { return selected_; }
  // Changes whenever the selection changes, so the preview is decoded once per choice.
  const std::string& Preview() const { return preview_; }

 private:
  void Refresh();

  bool open_ = false;
  std::string title_;
  std::filesystem::path folder_;
  std::vector<FileFilter> filters_;
  int filterIndex_ = 0;
  std::vector<Entry> entries_;
  std::vector<Place> places_;
  std::string selected_;
  std::string preview_;
};

}  // namespace veltrane::ui
