#pragma once

#include <string>

// One file part of a multipart upload.
struct FormDataItem {
    std::string data;  // the bytes
    std::string name;  // form field name
    std::string filename;
    std::string mimeType;
};
