// The folder from which the browser's web processes load this library as their extension.
#pragma once

#include <string>

namespace CrvWebView {

// Makes <dataFolder>/WebKit/extension (or a folder in the user's cache without a data folder) hold a
// link to this library and returns it; empty when the link cannot be made.
std::string PrepareExtensionFolder(const std::string& dataFolder);

} // namespace CrvWebView
