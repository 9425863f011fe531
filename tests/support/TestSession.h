#pragma once

#include <memory>
#include <string>

#include "core/storage/Options.h"
#include "core/storage/Session.h"

namespace vx::test {

// Sessions started with a ScriptedInteraction record their changes among its events.
// A session whose program directory is programDirectory: the shipped template set and names
// file are copied there unless it holds its own, so that a test may change them. Null when
// either cannot be read.
std::unique_ptr<Session> StartTestSession(Interaction& ui, Options& options, const std::string& programDirectory);

// A whole file as text (empty when it cannot be read), and a file written from text.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
// A session on the shipped template and preset names beside the built programs; nullptr
// (with a test failure) when they cannot be read.
std::unique_ptr<Session> MakeSession(Interaction& ui, Options& options);

}  // namespace vx::test
