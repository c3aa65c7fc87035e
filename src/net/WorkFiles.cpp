#include "net/WorkFiles.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace selvane {

namespace fs = std::filesystem;

void saveFile(const std::string& path, std::string_view text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (std::fwrite(text.data(), 1, text.size(), f) == text.size())
        std::fwrite(kSavedFileEnd.data(), 1, kSavedFileEnd.size(), f);
    std::fclose(f);
}

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::string readWholeFile(const std::string& path) {
    std::string text;
    std::ifstream in(path, std::ios::binary);
    if (!in) return text;
    std::error_code ec;
    const auto size = fs::file_size(fs::path(path), ec);
    if (ec) return text;
    text.resize(size);
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

bool deleteFile(const std::string& path) {
    if (!fileExists(path)) return true;
    std::error_code ec;
    return fs::remove(fs::path(path), ec) && !ec;
}

std::optional<std::string> workFilePath(const fs::path& folder, std::string_view name) {
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    if (name.find_first_of(std::string_view("/\\\0:", 4)) != std::string_view::npos) return std::nullopt;
    if (name.find("..") != std::string_view::npos) return std::nullopt;
    // Separators and ".." are refused above, so the name cannot leave the folder.
    return (folder / fs::path(std::string(name))).string();
}

namespace {

bool isWritableFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path perUserFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return fs::path(xdg) / "selvane";
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".local/share/selvane";
    return fs::temp_directory_path() / "selvane";
}

// <prefix>/share/selvane when the executable sits in an installed <prefix>/bin; empty otherwise.
fs::path installedShareFolder(const fs::path& executableFolder) {
    if (executableFolder.filename() != "bin") return {};
    const fs::path share = executableFolder.parent_path() / "share" / "selvane";
    std::error_code ec;
    return fs::is_directory(share, ec) ? share : fs::path();
}

}  // namespace

fs::path chooseProgramFolder(const fs::path& executableFolder) {
    // An installed program never writes beside itself, not even when run as root.
    const fs::path installed = installedShareFolder(executableFolder);
    if (installed.empty() && isWritableFolder(executableFolder)) return executableFolder;
    const fs::path supplied = installed.empty() ? executableFolder : installed;
    const fs::path folder = perUserFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const char* name : kSuppliedFiles) {
        const fs::path from = supplied / name;
        if (fs::exists(from, ec))
            fs::copy_file(from, folder / name, fs::copy_options::overwrite_existing, ec);
    }
    return folder;
}

}  // namespace selvane
