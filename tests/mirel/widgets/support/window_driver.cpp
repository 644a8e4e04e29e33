#include "widgets/support/window_driver.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "app/support/isolated_settings.h"
#include "mirel/app/app_settings.h"
#include "mirel/app/qt_text.h"
#include "mirel/widgets/input_editor.h"
#include "mirel/widgets/output_view.h"

namespace mirel::testing {

void resetSettings() {
  isolateSettings();
  QSettings("Mirel", "Mirel").clear();
  AppSettings& settings = AppSettings::shared();
  settings.setFontSize(15);
  settings.setDefaultIndentationUnit(QStringLiteral("  "));
  settings.setDefaultOutputType(telvar::OutputType::swift);
}

QPointer<EditorWindow> openWindow(std::unique_ptr<MirelDocument> document, QSize size) {
  QPointer<EditorWindow> window = new EditorWindow(std::move(document));
  window->resize(size);
  window->show();
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) qWarning("the window did not become active");
  window->inputEditor()->setFocus();
  return window;
}

void type(EditorWindow* window, const QString& text) {
  QTest::keyClicks(window->inputEditor(), text);
}

QString outputText(const EditorWindow* window) { return window->outputView()->toPlainText(); }

bool waitForCode(const EditorWindow* window, const QString& part) {
  return QTest::qWaitFor(
      [&] { return window->generationRun()->isOutputCode() && outputText(window).contains(part); });
}

void answerNextMessageBox(QMessageBox::StandardButton button, QString* text) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, button, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    if (text != nullptr) *text = box->text();
    poll->stop();
    poll->deleteLater();
    box->button(button)->click();
  });
  poll->start();
}

}  // namespace mirel::testing
