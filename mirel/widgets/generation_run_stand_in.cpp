#include "mirel/widgets/generation_run_stand_in.h"

#include "mirel/app/app_settings.h"
#include "mirel/app/mirel_document.h"
#include "mirel/app/qt_text.h"
#include "mirel/highlight/dart_syntax_highlighter.h"
#include "mirel/highlight/go_syntax_highlighter.h"
#include "mirel/highlight/kotlin_syntax_highlighter.h"
#include "mirel/highlight/proto_syntax_highlighter.h"
#include "mirel/highlight/schema_syntax_highlighter.h"
#include "mirel/highlight/swift_syntax_highlighter.h"
#include "telvar/generate/generate.h"

namespace mirel {

GenerationRun::GenerationRun(MirelDocument* document, QObject* parent)
    : QObject(parent), m_document(document) {
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, [this] { infer(m_fontSize); });
  connect(document, &MirelDocument::modelChanged, this,
          [this] { scheduleInfer(0.15, AppSettings::shared().fontSize()); });
  connect(&AppSettings::shared(), &AppSettings::fontSizeChanged, this,
          [this](double size) { scheduleInfer(0, size); });
}

void GenerationRun::scheduleInfer(double delaySeconds, double fontSize) {
  m_fontSize = fontSize;
  m_timer.start(static_cast<int>(delaySeconds * 1000));
}

void GenerationRun::infer(double fontSize) {
  const Font font = Font::monospacedSystem(fontSize);
  const telvar::Model& model = m_document->model();
  const telvar::OutputType type = model.outputType();
  if (std::optional<std::string> code = telvar::output(model, type)) {
    const std::u16string text = toU16(QString::fromStdString(*code));
    switch (type) {
      case telvar::OutputType::schema:
        m_output = SchemaSyntaxHighlighter::highlight(text, font);
        break;
      case telvar::OutputType::swift:
        m_output = SwiftSyntaxHighlighter::highlight(text, font);
        break;
      case telvar::OutputType::kotlin:
        m_output = KotlinSyntaxHighlighter::highlight(text, font);
        break;
      case telvar::OutputType::dart:
        m_output = DartSyntaxHighlighter::highlight(text, font);
        break;
      case telvar::OutputType::go:
        m_output = GoSyntaxHighlighter::highlight(text, font);
        break;
      case telvar::OutputType::proto:
        m_output = ProtoSyntaxHighlighter::highlight(text, font);
        break;
    }
    m_isOutputCode = true;
  } else {
    m_output = AttributedText{};
    m_output.font = font;
    if (!model.input().empty()) {
      m_output.text = u"Unexpected input";
      m_output.runs = {{{0, static_cast<int>(m_output.text.size())}, palette::systemRed}};
    }
    m_isOutputCode = false;
  }
  emit outputChanged();
}

}  // namespace mirel
