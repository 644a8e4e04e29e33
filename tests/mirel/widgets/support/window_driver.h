#pragma once

#include <memory>

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "mirel/app/generation_run.h"
#include "mirel/app/mirel_document.h"
#include "mirel/widgets/editor_window.h"

namespace mirel::testing {

/// Fresh settings for every test: test-mode paths, nothing stored.
void resetSettings();

/// Opens `document` (a new one by default) in a window of `size`, shown and active.
[[nodiscard]] QPointer<EditorWindow> openWindow(
    std::unique_ptr<MirelDocument> document = std::make_unique<MirelDocument>(),
    QSize size = {1100, 720});

/// Types `text` into the window's input, key by key.
void type(EditorWindow* window, const QString& text);

/// The output's plain text.
[[nodiscard]] QString outputText(const EditorWindow* window);

/// Waits until the output holds code whose text contains `part`.
[[nodiscard]] bool waitForCode(const EditorWindow* window, const QString& part);

/// Answers the next message box that appears with `button`; returns at once.
void answerNextMessageBox(QMessageBox::StandardButton button, QString* text = nullptr);

}  // namespace mirel::testing
