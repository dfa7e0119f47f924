// Plain message boxes (OK, or Yes/No). Until an editor window can show them,
// the default handler prints caption and text to stderr and answers the
// default at once: it never blocks, so it is safe from any thread.
// Thread: any; the handler is swapped by the editor on the user-interface thread.
#pragma once

#include <string>

enum class MessageBoxButtons { kOk, kYesNo };
enum class MessageBoxAnswer { kOk, kYes, kNo };

using MessageBoxHandler = MessageBoxAnswer (*)(const std::string& text, const std::string& caption,
                                               MessageBoxButtons buttons);

MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption = "",
                                MessageBoxButtons buttons = MessageBoxButtons::kOk);
// Installs a handler (null restores the stderr one); answers the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
