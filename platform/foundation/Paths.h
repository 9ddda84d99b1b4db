#pragma once

#include <filesystem>

// Where the client keeps its state. The environment is read on every call, so a test (or the
// program's --home option) can move the whole data directory by changing CAMPUS_HOME.
namespace platform::paths {

// $CAMPUS_HOME, else $XDG_DATA_HOME/campus-client, else ~/.local/share/campus-client.
// Not created.
std::filesystem::path dataDirectoryLocation();

// The same directory, created if missing. It and the folders below are private to their
// owner (0700), and are made so again when found looser.
std::filesystem::path dataDirectory();

// The phone's sandbox folders below the data directory, created on demand.
std::filesystem::path documentsDirectory();
std::filesystem::path libraryDirectory();
std::filesystem::path cachesDirectory();
// The phone's temporary folder ("tmp"): files the client hands on for a while (a picture a
// page's file field was given) and that nothing keeps.
std::filesystem::path temporaryDirectory();

}  // namespace platform::paths
