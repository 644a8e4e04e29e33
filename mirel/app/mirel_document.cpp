#include "mirel/app/mirel_document.h"

#include <exception>
#include <stdexcept>

#include <QFileInfo>
#include <QSaveFile>

#include <nlohmann/json.hpp>

#include "mirel/app/app_settings.h"
#include "mirel/app/file_reading.h"

namespace mirel {
namespace {

using telvar::Model;
using telvar::OutputType;

// Stored options data that is empty or does not decode leaves the record unset.
template <class Options>
std::optional<Options> storedOptions(OutputType type) {
  const QByteArray data = AppSettings::shared().optionsData(type);
  try {
    return telvar::fromJson<Options>(nlohmann::json::parse(data.constBegin(), data.constEnd()));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

Model modelFromStoredDefaults() {
  const AppSettings& settings = AppSettings::shared();
  return Model(telvar::Uuid::random(), std::string(),
               telvar::Indentation{0, settings.defaultIndentationUnit().toStdString()},
               std::nullopt, settings.defaultOutputType(),
               storedOptions<telvar::SchemaOptions>(OutputType::schema),
               storedOptions<telvar::SwiftOptions>(OutputType::swift),
               storedOptions<telvar::KotlinOptions>(OutputType::kotlin),
               storedOptions<telvar::DartOptions>(OutputType::dart),
               storedOptions<telvar::GoOptions>(OutputType::go),
               storedOptions<telvar::ProtoOptions>(OutputType::proto));
}

// The options record of the model's output type (unset reads as the record with both metas
// unset), in its compact JSON form.
std::string currentOptionsJson(const Model& model) {
  switch (model.outputType()) {
    case OutputType::schema:
      return telvar::toJson(model.schemaOptions()).dump();
    case OutputType::swift:
      return telvar::toJson(model.swiftOptions()).dump();
    case OutputType::kotlin:
      return telvar::toJson(model.kotlinOptions()).dump();
    case OutputType::dart:
      return telvar::toJson(model.dartOptions()).dump();
    case OutputType::go:
      return telvar::toJson(model.goOptions()).dump();
    case OutputType::proto:
      return telvar::toJson(model.protoOptions()).dump();
  }
  return telvar::toJson(model.swiftOptions()).dump();
}

// Error texts are shown in one line, whatever a key in the file held.
QString oneLine(QString text) {
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  text.replace(QChar(0x2028), QLatin1Char(' '));
  text.replace(QChar(0x2029), QLatin1Char(' '));
  return text;
}

}  // namespace

MirelDocument::MirelDocument(QObject* parent)
    : QObject(parent),
      m_model(modelFromStoredDefaults()),
      m_savedModel(m_model),
      m_history{m_model} {}

MirelDocument::MirelDocument(Model model, QString filePath)
    : m_model(std::move(model)),
      m_savedModel(m_model),
      m_history{m_model},
      m_filePath(std::move(filePath)) {}

MirelDocument::OpenResult MirelDocument::open(const QString& path) {
  const FileContents contents = readRegularFile(path);
  switch (contents.error) {
    case FileReadError::none:
      break;
    case FileReadError::folder:
      return {nullptr, QStringLiteral("data corrupted: a folder is not a document file")};
    case FileReadError::notRegular:
      // A device or a pipe might never end, or never begin.
      return {nullptr, QStringLiteral("data corrupted: only a regular file can be a document")};
    case FileReadError::tooLarge:
      return {
          nullptr,
          QStringLiteral("the file is too large to open: over %1 MB").arg(kFileSizeLimit >> 20)};
    case FileReadError::unreadable:
      return {nullptr,
              oneLine(QStringLiteral("the file could not be read: %1").arg(contents.reason))};
  }
  const QByteArray& data = contents.data;
  try {
    Model model = telvar::modelFromDocumentText(std::string_view(data.constData(), data.size()));
    return {std::unique_ptr<MirelDocument>(
                new MirelDocument(std::move(model), QFileInfo(path).absoluteFilePath())),
            QString()};
  } catch (const std::exception& e) {
    return {nullptr, oneLine(QString::fromUtf8(e.what()))};
  }
}

std::optional<QString> MirelDocument::saveTo(const QString& path) {
  deliverPendingInput();
  std::string text;
  try {
    text = telvar::documentText(m_model);
  } catch (const std::exception& e) {
    return oneLine(QString::fromUtf8(e.what()));
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return oneLine(file.errorString());
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    const QString error = oneLine(file.errorString());
    file.cancelWriting();
    return error;
  }
  if (!file.commit()) return oneLine(file.errorString());

  const QString absolute = QFileInfo(path).absoluteFilePath();
  m_savedModel = m_model;
  updateModified();
  if (absolute != m_filePath) {
    m_filePath = absolute;
    emit filePathChanged(m_filePath);
  }
  return std::nullopt;
}

void MirelDocument::setModel(Model model) {
  m_model = std::move(model);
  recordHistory();
  storeOptionsAsDefaults();
  updateModified();
  emit modelChanged();
}

void MirelDocument::undo() {
  deliverPendingInput();
  if (m_history.size() < 2) return;
  m_history.pop_back();
  setModel(m_history.back());
}

void MirelDocument::setPendingInputReport(std::function<void()> deliver) {
  m_pendingInput = std::move(deliver);
}

void MirelDocument::deliverPendingInput() {
  // Cleared before running: the report assigns the model, which must not deliver it again.
  std::function<void()> deliver = std::move(m_pendingInput);
  m_pendingInput = nullptr;
  if (deliver) deliver();
}

void MirelDocument::recordHistory() {
  if (!m_history.empty() && m_model == m_history.back()) return;
  if (m_history.size() >= static_cast<std::size_t>(kHistoryLimit)) {
    m_history.erase(
        m_history.begin(),
        m_history.begin() + static_cast<std::ptrdiff_t>(m_history.size() - (kHistoryLimit - 1)));
  }
  m_history.push_back(m_model);
}

void MirelDocument::storeOptionsAsDefaults() const {
  try {
    const std::string json = currentOptionsJson(m_model);
    AppSettings::shared().setOptionsData(m_model.outputType(), QByteArray::fromStdString(json));
  } catch (const std::exception&) {
    // Options that cannot be written as JSON leave the earlier defaults in place.
  }
}

void MirelDocument::updateModified() {
  // Only a model sharing the saved one's input text can equal it cheaply; a large sample is not
  // compared again on every keystroke, and a text typed back to the saved one counts as a change.
  const bool modified = !(&m_model.input() == &m_savedModel.input() && m_model == m_savedModel);
  if (modified == m_modified) return;
  m_modified = modified;
  emit modifiedChanged(m_modified);
}

}  // namespace mirel
