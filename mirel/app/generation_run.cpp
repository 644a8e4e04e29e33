#include "mirel/app/generation_run.h"

#include <limits>
#include <string>

#include <QGuiApplication>
#include <QWindow>

#include "mirel/app/app_settings.h"
#include "mirel/app/json_validator.h"
#include "mirel/app/qt_text.h"
#include "mirel/app/review_requester.h"
#include "mirel/highlight/dart_syntax_highlighter.h"
#include "mirel/highlight/go_syntax_highlighter.h"
#include "mirel/highlight/kotlin_syntax_highlighter.h"
#include "mirel/highlight/proto_syntax_highlighter.h"
#include "mirel/highlight/schema_syntax_highlighter.h"
#include "mirel/highlight/swift_syntax_highlighter.h"
#include "telvar/generate/generate.h"

namespace mirel {
namespace {

using telvar::OutputType;

// The highlighter of each output type, in the order of the cases.
using Highlighter = AttributedText (*)(std::u16string_view, const Font&);
constexpr Highlighter kHighlighters[] = {
    &SchemaSyntaxHighlighter::highlight, &SwiftSyntaxHighlighter::highlight,
    &KotlinSyntaxHighlighter::highlight, &DartSyntaxHighlighter::highlight,
    &GoSyntaxHighlighter::highlight,     &ProtoSyntaxHighlighter::highlight};

// The generated code of the model's output type, highlighted, or nothing. The engine's `output`
// never throws: running out of memory shows as nothing generated.
std::optional<AttributedText> highlightedCode(const telvar::Model& model, const Font& font) {
  const OutputType type = model.outputType();
  const std::optional<std::string> code = telvar::output(model, type);
  if (!code) return std::nullopt;
  const QString text = QString::fromStdString(*code);
  return kHighlighters[static_cast<std::size_t>(type)](
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size())),
      font);
}

// The message in one run of the system's red.
AttributedText redText(const QString& message, const Font& font) {
  AttributedText text{toU16(message), font, {}};
  if (!text.text.empty()) {
    text.runs.push_back(
        ColourRun{TextRange{0, static_cast<std::int32_t>(text.text.size())}, palette::systemRed});
  }
  return text;
}

// The application's active window, as a store review would be shown over it.
QWindow* activeWindow() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
  if (QGuiApplication::applicationState() != Qt::ApplicationActive) return nullptr;
  return QGuiApplication::focusWindow();
}

}  // namespace

GenerationRun::GenerationRun(MirelDocument* document, QObject* parent)
    : QObject(parent),
      m_document(document),
      m_reviewRequester(&ReviewRequester::shared()),
      m_validate([](const QString& json) { return JSONValidator::shared().validate(json); }) {
  // Every change of the model reruns, whatever made it (a form that is not shown included).
  connect(document, &MirelDocument::modelChanged, this,
          [this] { scheduleInfer(kPause, AppSettings::shared().fontSize()); });
  connect(&AppSettings::shared(), &AppSettings::fontSizeChanged, this,
          [this](double points) { scheduleInfer(0, points); });
}

GenerationRun::~GenerationRun() { cancel(); }

void GenerationRun::scheduleInfer(double delaySeconds, double fontSize) {
  cancel();
  m_inferTask =
      std::make_unique<CancelableTask>(delaySeconds, this, [this, fontSize] { infer(fontSize); });
}

void GenerationRun::cancel() {
  if (m_inferTask && m_inferTask->workItem) {
    m_inferTask->workItem->cancel();
    m_inferTask->workItem.reset();
  }
}

bool GenerationRun::isPending() const { return m_inferTask && m_inferTask->workItem; }

void GenerationRun::infer(double fontSize) {
  if (!m_document) return;
  const Font font = Font::monospacedSystem(fontSize);
  const telvar::Model& model = m_document->model();

  if (std::optional<AttributedText> code = highlightedCode(model, font)) {
    m_output = std::move(*code);
    m_isOutputCode = true;
  } else if (model.input().empty()) {
    m_output = AttributedText{std::u16string(), font, {}};
    m_isOutputCode = false;
  } else {
    const std::optional<QString> message = m_validate(QString::fromStdString(model.input()));
    m_output = redText(message.value_or(QString()), font);
    m_isOutputCode = false;
  }
  emit outputChanged();
  requestReviewIfNeeded();
}

void GenerationRun::requestReviewIfNeeded() {
  AppSettings& settings = AppSettings::shared();
  const qint64 count = settings.inferCount();
  // A stored count at the top of its range stays there rather than overflowing.
  settings.setInferCount(count < std::numeric_limits<qint64>::max() ? count + 1 : count);
  if (settings.inferCount() % 100 != 0) return;
  if (QWindow* window = activeWindow()) m_reviewRequester->requestReview(window);
}

}  // namespace mirel
