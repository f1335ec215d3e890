#pragma once
#include <string>

// Where the two files go below the compiler's folder.
inline constexpr char kLibraryRelativePath[] = "PureLibraries\\UserLibraries\\Lib_tarvo4";
inline constexpr char kHelpRelativePath[] = "Help\\tarvo_lib.chm";

// Paths are the folder (which ends with a backslash) and the relative path put end to end.
inline std::string TargetPath(const std::string& folder, const std::string& relativePath) {
    return folder + relativePath;
}

// The folder part of a relative path, without its trailing backslash ("Help").
inline std::string RelativeFolder(const std::string& relativePath) {
    auto separator = relativePath.find_last_of('\\');
    return separator == std::string::npos ? std::string() : relativePath.substr(0, separator);
}
