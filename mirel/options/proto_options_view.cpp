#include "mirel/options/proto_options_view.h"

namespace mirel {

using telvar::ProtoMeta;
using telvar::ProtoOptions;
using telvar::ValueMeta;

ProtoOptionsView::ProtoOptionsView(Binding<ProtoOptions> options, QWidget* parent)
    : OptionsScreen(parent), m_options(std::move(options)) {
  auto valueMeta =
      m_options.project<ValueMeta>(&ProtoOptions::valueMeta, &ProtoOptions::setValueMeta);
  auto meta = m_options.project<ProtoMeta>(&ProtoOptions::protoMeta, &ProtoOptions::setProtoMeta);

  Box* names = addBox(kBlockSpacing);
  addTextField(names, QStringLiteral("Package Name"),
               meta.project<std::string>(&ProtoMeta::packageName, &ProtoMeta::setPackageName),
               TextFieldKind::small);
  addPicker(names, QStringLiteral("Structure Style"),
            meta.project<ProtoMeta::StructureStyle>(&ProtoMeta::structureStyle,
                                                    &ProtoMeta::setStructureStyle),
            {{QStringLiteral("Nested"), ProtoMeta::StructureStyle::nested},
             {QStringLiteral("Flat"), ProtoMeta::StructureStyle::subtypeLast}});

  addList(addBox(kDefaultSpacing),
          typeNameMapsEditor(meta.project<std::vector<telvar::TypeNameMap>>(
              &ProtoMeta::typeNameMaps, &ProtoMeta::setTypeNameMaps)));
  addOptionalPropertiesPair(valueMeta);
  reload();
}

}  // namespace mirel
