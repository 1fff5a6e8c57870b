// A fresh folder for one benchmark run, made with mkdtemp inside a parent
// folder and removed with everything in it when the object goes, on failure
// too. Only what this object made is ever removed: the run folder, and the
// parent only when this object created it and it is empty again.
#pragma once

#include <filesystem>

class ScopedWorkDir {
public:
    explicit ScopedWorkDir(const std::filesystem::path& parent);
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_parent;
    bool m_createdParent = false;
    std::filesystem::path m_path;
};
