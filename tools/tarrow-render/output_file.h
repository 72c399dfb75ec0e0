// output_file.h - a file that appears under its name only when complete.
//
// Output goes to a temporary file beside the target and is renamed onto it by
// Commit; a file never committed (an error, an interrupted run) is removed, so
// a reader never finds half a file.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

class OutputFile {
  public:
    // Null, with a one-line reason in `error`, when the place cannot be written.
    static std::unique_ptr<OutputFile> Create(const std::string& path, std::string* error);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* stream() { return stream_; }
    const std::string& path() const { return path_; }
    bool Commit(std::string* error);

  private:
    OutputFile(std::string path, std::string temporary, std::FILE* stream);

    std::string path_;
    std::string temporary_;
    std::FILE* stream_;
    bool committed_ = false;
};

// Makes `directory` if it is missing and checks that files can be made in it.
bool PrepareDirectory(const std::string& directory, std::string* error);
