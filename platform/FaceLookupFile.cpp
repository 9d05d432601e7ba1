#include "platform/FaceLookupFile.h"

#include <dirent.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/File.h"

namespace tabora {

namespace {

// A handful of faces in both weights and slants is all a user names; the
// bound keeps the file small whatever is typed.
constexpr size_t kMaxEntries = 256;
// Larger than any file we write; anything bigger is not ours.
constexpr uint64_t kMaxFileBytes = 256u << 10;
constexpr const char* kHeader = "tabora-face-lookups 1";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder(const char* variable, const char* fallback) {
    std::string dir = Env(variable);
    if (!dir.empty() && dir[0] == '/') return dir;
    const std::string home = Env("HOME");
    return home.empty() ? std::string() : home + "/" + fallback;
}

struct Hasher {
    uint64_t value = 1469598103934665603ull;
    void Add(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) value = (value ^ p[i]) * 1099511628211ull;
    }
    void Add(const std::string& s) {
        Add(s.data(), s.size());
        Add("\0", 1);
    }
    void AddStat(const std::string& path) {
        Add(path);
        struct stat st{};
        if (::stat(path.c_str(), &st) != 0) {
            Add("-", 1);
            return;
        }
        const int64_t fields[] = {int64_t(st.st_ino), int64_t(st.st_size), int64_t(st.st_mtim.tv_sec),
                                  int64_t(st.st_mtim.tv_nsec), int64_t(st.st_mode)};
        Add(fields, sizeof fields);
    }
    // A folder and, one level down, everything in it (following links, so a
    // configuration file edited in place counts).
    void AddFolder(const std::string& path) {
        AddStat(path);
        DIR* dir = ::opendir(path.c_str());
        if (!dir) return;
        std::vector<std::string> names;
        while (dirent* e = ::readdir(dir)) {
            if (e->d_name[0] != '.') names.emplace_back(e->d_name);
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) AddStat(path + "/" + name);
    }
};

std::string Hex(const std::string& bytes) {
    static const char* kDigits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::optional<std::string> Unhex(const std::string& text) {
    if (text.size() % 2) return std::nullopt;
    std::string out;
    for (size_t i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (size_t j = i; j < i + 2; ++j) {
            const char c = text[j];
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        out += char(value);
    }
    return out;
}

bool FileTimeAndSize(const std::string& path, int64_t& time, int64_t& size) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    time = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    size = int64_t(st.st_size);
    return true;
}

}  // namespace

std::string FaceLookupFile::DefaultPath() {
    const std::string cache = HomeFolder("XDG_CACHE_HOME", ".cache");
    return cache.empty() ? std::string() : cache + "/tabora/face-lookups";
}

uint64_t FaceLookupFile::CurrentStamp() {
    Hasher h;
    const int version = FcGetVersion();  // does not load the configuration
    h.Add(&version, sizeof version);
    for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",
                             "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        h.Add(Env(name));
    }
    const std::string file = Env("FONTCONFIG_FILE");
    h.AddStat(file.empty() ? "/etc/fonts/fonts.conf" : file);
    h.AddStat("/etc/fonts/local.conf");
    h.AddFolder("/etc/fonts/conf.d");
    const std::string path = Env("FONTCONFIG_PATH");
    if (!path.empty()) h.AddFolder(path);
    const std::string config = HomeFolder("XDG_CONFIG_HOME", ".config");
    const std::string home = Env("HOME");
    if (!config.empty()) {
        h.AddStat(config + "/fontconfig/fonts.conf");
        h.AddFolder(config + "/fontconfig/conf.d");
    }
    if (!home.empty()) {
        h.AddStat(home + "/.fonts.conf");
        h.AddFolder(home + "/.fonts.conf.d");
        h.AddStat(home + "/.fonts");
    }
    // Installing or removing fonts rewrites the caches and touches the folders.
    h.AddFolder("/var/cache/fontconfig");
    const std::string cache = HomeFolder("XDG_CACHE_HOME", ".cache");
    if (!cache.empty()) h.AddFolder(cache + "/fontconfig");
    h.AddStat("/usr/share/fonts");
    h.AddStat("/usr/local/share/fonts");
    const std::string data = HomeFolder("XDG_DATA_HOME", ".local/share");
    if (!data.empty()) h.AddStat(data + "/fonts");
    return h.value;
}

void FaceLookupFile::Load() {
    if (loaded_) return;
    loaded_ = true;
    stamp_ = CurrentStamp();
    if (path_.empty()) return;
    std::string text;
    try {
        File file(path_, File::Mode::Read);
        if (file.GetLength() > kMaxFileBytes) return;
        text.resize(size_t(file.GetLength()));
        text.resize(file.Read(text.data(), uint32_t(text.size())));
    } catch (...) {
        return;
    }
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != std::string(kHeader) + " " + std::to_string(stamp_)) return;
    std::map<std::string, Entry> entries;
    while (std::getline(in, line) && entries.size() < kMaxEntries) {
        std::istringstream fields(line);
        std::string key, path, family;
        Entry e;
        int bold = 0, italic = 0;
        if (!(fields >> key >> path >> e.face.index >> family >> bold >> italic >> e.fileTime >> e.fileSize)) return;
        auto k = Unhex(key), p = Unhex(path), f = Unhex(family == "-" ? "" : family);
        if (!k || !p || !f || p->empty()) return;
        e.face.path = *p;
        e.face.family = *f;
        e.face.syntheticBold = bold != 0;
        e.face.syntheticItalic = italic != 0;
        entries[*k] = e;
    }
    entries_ = std::move(entries);
}

std::optional<ResolvedFace> FaceLookupFile::Find(const std::string& key) {
    Load();
    auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    int64_t time = 0, size = 0;
    if (!FileTimeAndSize(it->second.face.path, time, size) || time != it->second.fileTime ||
        size != it->second.fileSize) {
        entries_.erase(it);
        return std::nullopt;
    }
    return it->second.face;
}

void FaceLookupFile::Remember(const std::string& key, const ResolvedFace& face) {
    Load();
    Entry e;
    e.face = face;
    if (path_.empty() || !FileTimeAndSize(face.path, e.fileTime, e.fileSize)) return;
    if (entries_.size() >= kMaxEntries) entries_.clear();
    entries_[key] = e;
    Save();
}

void FaceLookupFile::Save() const {
    std::string text = std::string(kHeader) + " " + std::to_string(stamp_) + "\n";
    for (const auto& [key, e] : entries_) {
        text += Hex(key) + " " + Hex(e.face.path) + " " + std::to_string(e.face.index) + " " +
                (e.face.family.empty() ? std::string("-") : Hex(e.face.family)) + " " +
                (e.face.syntheticBold ? "1" : "0") + " " + (e.face.syntheticItalic ? "1" : "0") + " " +
                std::to_string(e.fileTime) + " " + std::to_string(e.fileSize) + "\n";
    }
    try {
        const std::string folder = path_.substr(0, path_.rfind('/'));
        const std::string parent = folder.substr(0, folder.rfind('/'));
        ::mkdir(parent.c_str(), 0700);
        ::mkdir(folder.c_str(), 0700);
        SafeSave save(path_);
        save.Output().Write(text.data(), uint32_t(text.size()));
        save.Commit(SafeSave::Durability::Unsynced);
    } catch (...) {
        // A cache that cannot be written is only a slower next start.
    }
}

}  // namespace tabora
