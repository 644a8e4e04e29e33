#pragma once

// Interim generation run for the editor window until the application core's own lands; same
// interface. Removed when mirel/app/generation_run.h arrives.

#include <QObject>
#include <QTimer>

#include "mirel/highlight/attributed_text.h"

namespace mirel {

class MirelDocument;

/// The run of one editor window: generates and highlights the model's output after a pause.
class GenerationRun : public QObject {
  Q_OBJECT

 public:
  explicit GenerationRun(MirelDocument* document, QObject* parent = nullptr);
  void scheduleInfer(double delaySeconds, double fontSize);
  void infer(double fontSize);
  [[nodiscard]] const AttributedText& output() const { return m_output; }
  [[nodiscard]] bool isOutputCode() const { return m_isOutputCode; }
  void cancel() { m_timer.stop(); }

 signals:
  void outputChanged();

 private:
  MirelDocument* m_document;
  QTimer m_timer;
  double m_fontSize = 15;
  AttributedText m_output;
  bool m_isOutputCode = false;
};

}  // namespace mirel
