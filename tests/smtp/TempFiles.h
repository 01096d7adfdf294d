// A private folder for the files a test attaches, removed with everything in it.
#pragma once

#include <string>

class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }
    // Writes the file, making its folders; returns its full path.
    std::string Write(const std::string& relative, const std::string& content) const;

private:
    std::string root_;
};
