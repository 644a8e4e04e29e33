#include "mirel/options/options_form.h"

#include <string>
#include <utility>
#include <vector>

#include <QLineEdit>
#include <QVBoxLayout>

#include "mirel/options/dart_options_view.h"
#include "mirel/options/form_blocks.h"
#include "mirel/options/go_options_view.h"
#include "mirel/options/kotlin_options_view.h"
#include "mirel/options/proto_options_view.h"
#include "mirel/options/schema_options_view.h"
#include "mirel/options/swift_options_view.h"

namespace mirel {

using telvar::Model;
using telvar::OutputType;

namespace {

const QString kTwoSpaces = QStringLiteral("  ");
const QString kFourSpaces = QStringLiteral("    ");

}  // namespace

OptionsForm::OptionsForm(Binding<Model> model, QWidget* parent)
    : QWidget(parent), m_model(std::move(model)) {
  auto* column = new QVBoxLayout(this);
  column->setSpacing(kBlockSpacing);
  column->setAlignment(Qt::AlignTop);
  m_layout = column;

  auto* settings = new Box(kBlockSpacing, this);
  column->addWidget(settings);

  // The indentation keeps its level; only the unit is chosen here.
  auto unit = m_model.project<std::string>([](const Model& m) { return m.indentation().unit; },
                                           [](Model& m, std::string chosen) {
                                             telvar::Indentation indentation = m.indentation();
                                             indentation.unit = std::move(chosen);
                                             m.setIndentation(std::move(indentation));
                                           });
  m_indentWidth = makePicker(QStringLiteral("Indent Width"), unit,
                             std::vector<std::pair<QString, std::string>>{
                                 {QStringLiteral("2 Spaces"), kTwoSpaces.toStdString()},
                                 {QStringLiteral("4 Spaces"), kFourSpaces.toStdString()}},
                             PickerCustomModifier::style);
  settings->add(new PickerBlock(QStringLiteral("Indent Width"), m_indentWidth));

  m_outputType = makePicker(QStringLiteral("Output Type"),
                            m_model.project<OutputType>(&Model::outputType, &Model::setOutputType),
                            std::vector<std::pair<QString, OutputType>>{
                                {QStringLiteral("JSON Schema"), OutputType::schema},
                                {QStringLiteral("Swift"), OutputType::swift},
                                {QStringLiteral("Kotlin"), OutputType::kotlin},
                                {QStringLiteral("Dart"), OutputType::dart},
                                {QStringLiteral("Go"), OutputType::go},
                                {QStringLiteral("Proto"), OutputType::proto}},
                            PickerStyle::menu);
  settings->add(new PickerBlock(QStringLiteral("Output Type"), m_outputType));

  m_modelName = new TextFieldBlock(
      QStringLiteral("Model Name"),
      m_model.project<std::string>(&Model::modelName, &Model::setModelName), TextFieldKind::big);
  m_modelNameSection = m_modelName;
  settings->add(m_modelName);

  reload();
}

QLineEdit* OptionsForm::modelNameField() const { return m_modelName->field(); }

OptionsScreen* OptionsForm::currentScreen() const {
  for (OptionsScreen* screen : m_screens) {
    if (screen && !screen->isHidden()) return screen;
  }
  return nullptr;
}

OptionsScreen* OptionsForm::screenFor(OutputType type) {
  OptionsScreen*& screen = m_screens[static_cast<std::size_t>(type)];
  if (screen) return screen;
  const Binding<Model>& model = m_model;
  switch (type) {
    case OutputType::schema:
      screen = new SchemaOptionsView(
          model.project<telvar::SchemaOptions>(&Model::schemaOptions, &Model::setSchemaOptions));
      break;
    case OutputType::swift:
      screen = new SwiftOptionsView(
          model.project<telvar::SwiftOptions>(&Model::swiftOptions, &Model::setSwiftOptions));
      break;
    case OutputType::kotlin:
      screen = new KotlinOptionsView(
          model.project<telvar::KotlinOptions>(&Model::kotlinOptions, &Model::setKotlinOptions));
      break;
    case OutputType::dart:
      screen = new DartOptionsView(
          model.project<telvar::DartOptions>(&Model::dartOptions, &Model::setDartOptions));
      break;
    case OutputType::go:
      screen = new GoOptionsView(
          model.project<telvar::GoOptions>(&Model::goOptions, &Model::setGoOptions));
      break;
    case OutputType::proto:
      screen = new ProtoOptionsView(
          model.project<telvar::ProtoOptions>(&Model::protoOptions, &Model::setProtoOptions));
      break;
  }
  screen->setParent(this);
  screen->hide();
  m_layout->addWidget(screen);
  return screen;
}

void OptionsForm::reload() {
  m_indentWidth->reload();
  m_outputType->reload();
  m_modelName->reload();
  const OutputType type = m_model.get().outputType();
  m_modelNameSection->setVisible(type != OutputType::schema);
  OptionsScreen* shown = screenFor(type);
  for (OptionsScreen* screen : m_screens) {
    if (screen && screen != shown) screen->hide();
  }
  shown->reload();
  shown->show();
}

}  // namespace mirel
