#include "mirel/options/binding.h"

#include <string>
#include <vector>

#include <QTest>

using mirel::Binding;

namespace {

struct Record {
  std::string name;
  std::vector<std::string> items;
  [[nodiscard]] const std::string& getName() const { return name; }
  void setName(std::string value) { name = std::move(value); }
};

}  // namespace

class BindingTest : public QObject {
  Q_OBJECT

 private slots:
  void aProjectionWritesTheWholeRecordBack() {
    Record stored{"a", {"x"}};
    int writes = 0;
    Binding<Record> record([&] { return stored; },
                           [&](Record value) {
                             ++writes;
                             stored = std::move(value);
                           });
    auto name = record.project<std::string>(&Record::getName, &Record::setName);
    QCOMPARE(name.get(), "a");
    name.set("b");
    QCOMPARE(stored.name, "b");
    QCOMPARE(stored.items, std::vector<std::string>({"x"}));
    QCOMPARE(writes, 1);
  }

  void aRowOutsideItsListReadsHarmlesslyAndWritesNothing() {
    std::vector<std::string> list{"a", "b", "c"};
    int writes = 0;
    Binding<std::vector<std::string>> items([&] { return list; },
                                            [&](std::vector<std::string> value) {
                                              ++writes;
                                              list = std::move(value);
                                            });
    std::size_t position = 2;
    auto row = mirel::elementBinding<std::string>(
        items, [&] { return position; }, "built");
    QCOMPARE(row.get(), "c");
    row.set("C");
    QCOMPARE(list, std::vector<std::string>({"a", "b", "C"}));

    mirel::removeElement(items, 0);
    QCOMPARE(list, std::vector<std::string>({"b", "C"}));
    // The row still holds position 2, now past the end: the element it last read, and no write.
    QCOMPARE(row.get(), "c");
    const int before = writes;
    row.set("lost");
    mirel::removeElement(items, 5);
    QCOMPARE(writes, before);
    QCOMPARE(list, std::vector<std::string>({"b", "C"}));

    auto never = mirel::elementBinding<std::string>(
        items, [] { return std::size_t(9); }, "built");
    QCOMPARE(never.get(), "built");
  }
};

QTEST_MAIN(BindingTest)
#include "binding_test.moc"
