#include "ui/open_dialog.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "loaders/scene_file.h"

namespace veltrane::ui {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

const std::vector<std::string> kPreviewHandled = {"par", "mdl", "x", "bmp", "wav", "geo", "scn"};
const std::vector<std::string> kPictures = {"bmp", "ico", "wmf", "emf", "jpg", "jpeg"};

bool Contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// Simple glob with '*' and '?', case-insensitive.
bool Glob(const std::string& name, std::size_t n, const std::string& pat, std::size_t p) {
  while (p < pat.size()) {
    if (pat[p] == '*') {
      for (std::size_t k = n; k <= name.size(); ++k)
        if (Glob(name, k, pat, p + 1)) return true;
      return false;
    }
    if (n >= name.size()) return false;
    if (pat[p] != '?' && pat[p] != name[n]) return false;
    ++n;
    ++p;
  }
  return n == name.size();
}

}  // namespace

std::vector<FileFilter> ParseFilter(const std::string& filterText) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const auto bar = filterText.find('|', start);
    parts.push_back(
        filterText.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<FileFilter> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    FileFilter f;
    f.description = parts[i];
    std::size_t s = 0;
    const std::string& pats = parts[i + 1];
    while (s <= pats.size()) {
      const auto semi = pats.find(';', s);
      const std::string one =
          Trim(pats.substr(s, semi == std::string::npos ? std::string::npos : semi - s));
      if (!one.empty()) f.patterns.push_back(Lower(one));
      if (semi == std::string::npos) break;
      s = semi + 1;
    }
    filters.push_back(std::move(f));
  }
  return filters;
}

bool MatchesPattern(const std::string& fileName, const std::string& pattern) {
  return Glob(Lower(fileName), 0, Lower(pattern), 0);
}

std::string PreviewPictureFor(const fs::path& selected) {
  std::string ext = Lower(selected.extension().string());
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  if (IsFile(selected) && Contains(kPreviewHandled, ext)) {
    fs::path prv = selected;
    prv.replace_extension();
    prv += "_prv.jpg";
    return IsFile(prv) ? prv.string() : std::string();
  }
  if (Contains(kPictures, ext) && IsFile(selected)) return selected.string();
  return {};
}

void OpenDialog::Open(const std::string& title, const std::string& filterText,
                      const std::string& proposedFile, const fs::path& initialFolder) {
  open_ = true;
  title_ = title;
  filters_ = ParseFilter(filterText);
  filterIndex_ = 0;
  fs::path proposed(proposedFile);
  std::error_code ec;
  if (proposed.has_parent_path() && fs::is_directory(proposed.parent_path(), ec)) {
    folder_ = fs::absolute(proposed.parent_path(), ec);
    selected_ = proposed.filename().string();
  } else {
    folder_ = fs::absolute(initialFolder, ec);
    selected_ = proposed.filename().string();
  }
  Refresh();
  preview_ = PreviewPictureFor(folder_ / selected_);
}

int OpenDialog::CurrentPlace() const {
  std::error_code ec;
  const std::string here = fs::weakly_canonical(folder_, ec).string() + "/";
  for (std::size_t i = 0; i < places_.size(); ++i) {
    const std::string place = fs::weakly_canonical(places_[i].folder, ec).string() + "/";
    if (here.rfind(place, 0) == 0) return static_cast<int>(i);  // the place or a folder below it
  }
  return -1;
}

void OpenDialog::GoToPlace(int index) {
  if (index < 0 || index >= static_cast<int>(places_.size())) return;
  std::error_code ec;
  const fs::path& p = places_[static_cast<std::size_t>(index)].folder;
  fs::create_directories(p, ec);
  if (!fs::is_directory(p, ec)) return;
  folder_ = fs::absolute(p, ec).lexically_normal();
  if (folder_.filename().empty()) folder_ = folder_.parent_path();  // no trailing '/'
  // The proposed file belongs to the folder the dialog opened in.
  selected_.clear();
  preview_.clear();
  Refresh();
}

void OpenDialog::SetFilter(int index) {
  if (index < 0 || index >= static_cast<int>(filters_.size())) return;
  filterIndex_ = index;
  Refresh();
}

void OpenDialog::EnterFolder(const std::string& name) {
  std::error_code ec;
  const fs::path next = name == ".." ? folder_.parent_path() : folder_ / name;
  if (!fs::is_directory(next, ec)) return;
  folder_ = next;
  Refresh();
}

void OpenDialog::Select(const std::string& name) {
  selected_ = name;
  preview_ = PreviewPictureFor(folder_ / selected_);
}

std::string OpenDialog::Accept() {
  if (selected_.empty()) return {};
  const fs::path p = folder_ / selected_;
  if (!IsFile(p)) return {};
  open_ = false;
  return p.string();
}

namespace {

// The number at the start of a line of a numeric model file; NaN when there is none.
double LeadingNumber(const std::string& line) {
  const char* begin = line.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  return end == begin ? std::nan("") : v;
}

}  // namespace

int ModelKindRank(const fs::path& file) {
  const std::string ext = Lower(file.extension().string());
  if (ext != ".par" && ext != ".mdl") return 0;
  std::ifstream in(file);
  std::string first, second;
  if (!std::getline(in, first) || !std::getline(in, second)) return 0;
  // A .par starts with the model style, then the thrust; a .mdl with its title line.
  const double style = ext == ".par" ? LeadingNumber(first) : 0.0;
  const double thrust = LeadingNumber(second);
  if (style == 1.0) return 2;
  if (style == 0.0 && thrust == 0.0) return 1;
  return 0;
}

int SceneKindRank(const fs::path& file) {
  if (Lower(file.extension().string()) != ".scn") return 0;
  return loaders::ReadSceneWind(file.string()) ? 1 : 0;
}

void OpenDialog::Refresh() {
  entries_.clear();
  std::error_code ec;
  if (folder_.has_parent_path() && folder_ != folder_.root_path()) entries_.push_back({"..", true});
  std::vector<Entry> folders, files;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    if (it->is_directory(ec)) {
      folders.push_back({name, true});
      continue;
    }
    bool match = filters_.empty();
    if (!match)
      for (const auto& pat : filters_[static_cast<std::size_t>(filterIndex_)].patterns)
        if (MatchesPattern(name, pat)) match = true;
    if (match) files.push_back({name, false});
  }
  auto byName = [](const Entry& a, const Entry& b) { return Lower(a.name) < Lower(b.name); };
  std::sort(folders.begin(), folders.end(), byName);
  // By kind, so trainers, gliders and helicopters each stand together, and
  // flying fields before slope sites.
  for (Entry& e : files) {
    const fs::path file = folder_ / e.name;
    e.group = std::max(ModelKindRank(file), SceneKindRank(file));
  }
  std::sort(files.begin(), files.end(), [&](const Entry& a, const Entry& b) {
    return a.group != b.group ? a.group < b.group : byName(a, b);
  });
  entries_.insert(entries_.end(), folders.begin(), folders.end());
  entries_.insert(entries_.end(), files.begin(), files.end());
}

}  // namespace veltrane::ui
