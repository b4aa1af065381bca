// The ncdu export format both ways: a tree written and read back is the same tree, exports that ncdu
// and gdu wrote read as they describe, and a hostile export is refused with a reason and a place.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "analysis/NcduExport.h"

#include <QBuffer>
#include <QTimeZone>

#include <cstring>
#include <functional>

using namespace SyntheticHome;
using namespace TestSupport;
using Kind = StorageTree::Kind;

namespace {

// An item of a tree to build, with what is below it.
struct Planned {
    QByteArray name;
    Kind kind = Kind::file;
    quint8 flags = 0;
    qint64 allocated = 0, apparent = 0, modified = 0;
    quint64 inode = 0;
    std::vector<Planned> children;
};

Planned leaf(const QByteArray& name, Kind kind, quint8 flags, qint64 allocated, qint64 apparent,
             qint64 modified = 0, quint64 inode = 0)
{
    return {name, kind, flags, allocated, apparent, modified, inode, {}};
}

Planned folder(const QByteArray& name, std::vector<Planned> children, quint8 flags = 0)
{
    return {name, Kind::folder, flags, 4096, 4096, 1700000000, 0, std::move(children)};
}

// A tree built the way a walk builds one: the root first, then each folder's children as a block.
StorageTree build(const Planned& root)
{
    StorageTree tree;
    tree.origin.rootPath = root.name;
    tree.origin.device = 2049;
    tree.origin.scanned = QDateTime::fromSecsSinceEpoch(1700000123, QTimeZone::utc());
    const auto item = [](const Planned& planned) {
        return StorageTree::Item{planned.name,     planned.kind,     planned.flags, planned.allocated,
                                 planned.apparent, planned.modified, planned.inode};
    };
    std::vector<std::pair<StorageTree::Index, const Planned*>> open{{tree.addRoot(item(root)), &root}};
    while (!open.empty()) {
        const auto [index, planned] = open.back();
        open.pop_back();
        std::vector<StorageTree::Item> items;
        for (const Planned& child : planned->children)
            items.push_back(item(child));
        if (items.empty())
            continue;
        const StorageTree::Index first = tree.addBlock(items);
        tree.adopt(index, first, quint32(items.size()));
        for (std::size_t at = 0; at < items.size(); ++at)
            open.emplace_back(first + StorageTree::Index(at), &planned->children[at]);
    }
    tree.finish();
    return tree;
}

QString shown(QByteArrayView name)
{
    return QString::fromLatin1(name.toByteArray().toPercentEncoding(" /._-()"));
}

QString flagsText(quint8 flags)
{
    QString letters;
    const char* names = "uohxl"; // unreadable, other file system, hard-linked, excluded, later link
    for (int bit = 0; bit < 5; ++bit)
        if (flags & (1 << bit))
            letters += QLatin1Char(names[bit]);
    return letters.isEmpty() ? QStringLiteral("-") : letters;
}

// Every item depth first: its path, kind, flags and totals; with `full`, its item count, inode and time.
QStringList dump(const StorageTree& tree, bool full = false)
{
    static const QStringList kinds{"file", "folder", "package", "link", "special"};
    QStringList lines;
    std::vector<std::pair<StorageTree::Index, QString>> open{{tree.root(), QStringLiteral(".")}};
    while (!open.empty()) {
        const auto [index, path] = open.back();
        open.pop_back();
        const StorageTree::Node& node = tree.node(index);
        QStringList line{path, kinds[int(node.kind)], flagsText(node.flags), QString::number(node.allocated),
                         QString::number(node.apparent)};
        if (full)
            line << QString::number(node.items) << QString::number(node.inode)
                 << QString::number(node.modified);
        lines << line.join(QLatin1Char(' '));
        for (StorageTree::Index child = node.firstChild + node.childCount; child-- > node.firstChild;)
            open.emplace_back(child, (path == "." ? QString() : path + "/") + shown(tree.name(child)));
    }
    return lines;
}

QString originText(const StorageTree& tree)
{
    const StorageTree::Origin& origin = tree.origin;
    return fields(shown(origin.rootPath), QString::number(origin.device), origin.program,
                  origin.programVersion,
                  origin.scanned ? QString::number(origin.scanned->toSecsSinceEpoch()) : QStringLiteral("-"),
                  QString::number(origin.imported));
}

std::variant<StorageTree, QString> readBytes(const QByteArray& bytes,
                                             const NcduExport::ReadOptions& options = {})
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return NcduExport::read(in, options);
}

QString refusal(const std::variant<StorageTree, QString>& read)
{
    return std::holds_alternative<QString>(read) ? std::get<QString>(read) : QStringLiteral("(read)");
}

QByteArray written(const StorageTree& tree)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const std::optional<QString> failure = NcduExport::write(tree, out);
    QTest::qVerify(!failure, "write", qPrintable(failure.value_or(QString())), __FILE__, __LINE__);
    return out.data();
}

// An export with its root folder "/r" around `items`.
QByteArray around(const QByteArray& items)
{
    return R"([1,2,{"progname":"ncdu","progver":"2.9","timestamp":1700000000},[{"name":"/r"})" + items + "]]";
}

Planned everyKind()
{
    Planned link = leaf("link", Kind::link, 0, 0, 5, 1700000002);
    Planned pipe = leaf("pipe", Kind::special, 0, 0, 0, -86400); // before 1970
    Planned linked = leaf("a.bin", Kind::file, StorageTree::hardLinked, 8192, 5000, 1700000003, 77);
    Planned again = leaf("again", Kind::file, StorageTree::hardLinked, 8192, 5000, 1700000003, 77);
    Planned locked = folder("locked", {}, StorageTree::unreadable);
    Planned mount = folder("mnt", {}, StorageTree::otherFileSystem);
    Planned skipped = leaf("skipped", Kind::file, StorageTree::excluded, 0, 0);
    Planned deep = folder("deep", {leaf("x", Kind::file, 0, 4096, 1, 1700000009, 12)});
    return folder("/data/analysed", {linked, folder("sub", {again, pipe, deep}), link, locked, mount, skipped,
                                     folder("empty", {})});
}

Planned awkwardNames()
{
    std::vector<Planned> files;
    for (const QByteArray& name :
         {QByteArray("q\"b\\"), QByteArray("tab\tline\nend"), QByteArray("\x01\x1f\x7f"),
          QByteArray("caf\xe9"), QByteArray("日本.txt"), QByteArray("\xff\xfe")})
        files.push_back(leaf(name, Kind::file, 0, 4096, 10));
    return folder("/data/n\xe4me \"quoted\"", std::move(files));
}

Planned wide(int count)
{
    std::vector<Planned> files;
    for (int at = 0; at < count; ++at)
        files.push_back(leaf("f" + QByteArray::number(at), Kind::file, 0, 4096, at, at));
    return folder("/data/wide", {folder("many", std::move(files))});
}

Planned chain(int depth)
{
    Planned bottom = folder("d", {leaf("leaf", Kind::file, 0, 4096, 3)});
    for (int level = 1; level < depth; ++level)
        bottom = folder("d", {std::move(bottom)});
    return folder("/data/deep", {std::move(bottom)});
}

QString fixture(const QString& name)
{
    return QStringLiteral(KELVO_TEST_DATA_DIR "/ncdu/") + name;
}

} // namespace

Q_DECLARE_METATYPE(Planned)

class TestNcduExport : public QObject {
    Q_OBJECT

    Sandbox m_box;

private slots:
    void init() { m_box.renew(); }

    // Kinds, flags, hard links, names of any bytes, block and chunk edges, nesting up to the limit.
    void aWrittenTreeReadsBackTheSame_data()
    {
        columns<Planned>("planned");
        row("every kind and flag", everyKind());
        row("names that need escaping or are not UTF-8", awkwardNames());
        row("a folder wider than a block of the tree", wide(70000));
        row("folders nested as deep as allowed", chain(NcduExport::deepestNesting - 1));
        row("only the analysed folder", folder("/", {}));
    }
    void aWrittenTreeReadsBackTheSame()
    {
        const auto [planned] = fetch<Planned>("planned");
        const StorageTree tree = build(planned);
        const QString path = m_box.path("export.json");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        const std::optional<QString> failure = NcduExport::write(tree, out);
        QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
        out.close();
        QFile in(path);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const auto read = NcduExport::read(in);
        QVERIFY2(std::holds_alternative<StorageTree>(read), qPrintable(refusal(read)));
        const StorageTree& back = std::get<StorageTree>(read);
        QCOMPARE(dump(back, true), dump(tree, true));
        QCOMPARE(originText(back), fields(shown(planned.name), QString("2049"), QString("kelvo"),
                                          back.origin.programVersion, QString("1700000123"), QString("1")));
        QVERIFY(!back.origin.programVersion.isEmpty());
    }

    // What readers other than Kelvo's rely on: each item's own sizes, a folder as a list, and the rest as
    // an object whose flags ncdu and gdu know (a package is one item of its summed size).
    void itemsAreWrittenAsNcduReadsThem_data()
    {
        columns<QByteArray, QByteArray>("name", "line");
        row("the root: its path and device", QByteArray("/data/analysed"),
            QByteArray(
                R"([{"name":"/data/analysed","asize":4096,"dsize":4096,"dev":2049,"mtime":1700000009})"));
        row("a folder: its own sizes, not its totals", QByteArray("sub"),
            QByteArray(R"([{"name":"sub","asize":4096,"dsize":4096,)"));
        row("a package: one item", QByteArray("Tool.app"),
            QByteArray(R"({"name":"Tool.app","asize":90000,"dsize":98304})"));
        row("a hard link", QByteArray("a.bin"),
            QByteArray(R"({"name":"a.bin","asize":5000,"dsize":8192,"ino":77,"hlnkc":true,)"));
        row("a later name of a hard link", QByteArray("again"),
            QByteArray(R"({"name":"again","asize":5000,"dsize":8192,"ino":77,)"));
        row("a symbolic link", QByteArray("link"),
            QByteArray(R"({"name":"link","asize":5,"dsize":0,"notreg":true,"mode":41471,)"));
        row("a FIFO", QByteArray("pipe"),
            QByteArray(R"({"name":"pipe","asize":0,"dsize":0,"notreg":true,"mtime":-86400})"));
        row("an unreadable folder", QByteArray("locked"), QByteArray(R"(,"read_error":true}])"));
        row("another file system", QByteArray("mnt"), QByteArray(R"(,"excluded":"otherfs"}])"));
        row("an excluded item", QByteArray("skipped"),
            QByteArray(R"({"name":"skipped","asize":0,"dsize":0,"excluded":"pattern"})"));
    }
    void itemsAreWrittenAsNcduReadsThem()
    {
        const auto [name, line] = fetch<QByteArray, QByteArray>("name", "line");
        Planned planned = everyKind();
        planned.children.push_back(leaf("Tool.app", Kind::package, 0, 98304, 90000));
        const QByteArray text = written(build(planned));
        QVERIFY(text.startsWith(R"([1,2,{"progname":"kelvo","progver":")"));
        QVERIFY(text.contains(R"(","timestamp":1700000123},)"));
        const QList<QByteArray> lines = text.split('\n');
        const auto found = std::ranges::find_if(
            lines, [&](const QByteArray& each) { return each.contains("{\"name\":\"" + name + "\","); });
        QVERIFY(found != lines.end());
        const QByteArray item = found->endsWith(',') ? found->chopped(1) : *found;
        QVERIFY2(item.startsWith(line) || item.endsWith(line), item.constData());
    }

    // Exports made by ncdu -o, ncdu -e -o and gdu -o over one small tree (tests/fixtures/ncdu/README.md).
    void exportsOfNcduAndGduAreRead_data()
    {
        columns<QString, QString, QStringList>("file", "origin", "items");
        const QStringList ncdu{
            ". folder - 45056 25788",
            "%E6%97%A5%E6%9C%AC.txt file - 4096 1",
            "a.bin file h 8192 5000",
            "locked folder u 4096 4096",
            "mnt folder o 0 0",
            "empty folder - 4096 4096",
            "link special - 0 5",
            "sub folder - 20480 8494", // the hard link's bytes count at its first name, a.bin
            "sub/pipe special - 0 0",
            "sub/b.txt file - 4096 300",
            "sub/tab%09new%0Aq%22b%5C file - 4096 1",
            "sub/deep folder - 8192 4097",
            "sub/deep/caf%E9 file - 4096 1",
            "sub/hard file hl 8192 5000",
            "skipme file x 0 0",
        };
        QStringList extended = ncdu;
        extended[6] = "link link - 0 5"; // its mode says so
        row("ncdu 1.18", "ncdu-1.18.json", "/tmp/kelvo-ncdu-fixture 65024 ncdu 1.18 1796691424 1", ncdu);
        row("ncdu 1.18, extended", "ncdu-1.18-extended.json",
            "/tmp/kelvo-ncdu-fixture 65024 ncdu 1.18 1796691424 1", extended);
        // gdu gives folders no size of their own, marks only the later name of a hard link, and writes a
        // byte that is not UTF-8 as U+FFFD.
        row("gdu 5.22", "gdu-5.22.json", "/tmp/kelvo-ncdu-fixture 0 gdu 5.22.0-1+b1 1796691424 1",
            QStringList{". folder - 32768 10308", "sub folder - 20480 5302", "sub/b.txt file - 4096 300",
                        "sub/hard file h 8192 5000", "sub/pipe file - 0 0",
                        "sub/tab%09new%0Aq%22b%5C file - 4096 1", "sub/deep folder - 4096 1",
                        "sub/deep/caf%EF%BF%BD file - 4096 1", "a.bin file - 8192 5000",
                        "%E6%97%A5%E6%9C%AC.txt file - 4096 1", "locked folder - 0 0", "empty folder - 0 0",
                        "link special - 0 5"});
    }
    void exportsOfNcduAndGduAreRead()
    {
        const auto [file, origin, items] = fetch<QString, QString, QStringList>("file", "origin", "items");
        QFile in(fixture(file));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const auto read = NcduExport::read(in);
        QVERIFY2(std::holds_alternative<StorageTree>(read), qPrintable(refusal(read)));
        QCOMPARE(dump(std::get<StorageTree>(read)), items);
        QCOMPARE(originText(std::get<StorageTree>(read)), origin);
    }

    // What other writers may put in: unknown keys, extended fields, every exclusion, escapes, raw bytes.
    void variantsOfTheFormatAreRead_data()
    {
        columns<QByteArray, QStringList>("json", "items");
        const QString root = ". folder - ";
        row("unknown keys with values of every kind",
            around(R"(,{"name":"a","asize":1,"x":{"y":[1,-2.5e-3,true,false,null,"s",{},[]]},"z":"q"})"),
            QStringList{root + "0 1", "a file - 0 1"});
        row("extended fields", around(R"(,{"name":"a","dsize":512,"uid":0,"gid":0,"mode":33188,"mtime":7})"),
            QStringList{root + "512 0", "a file - 512 0"});
        row("every exclusion",
            around(R"(,{"name":"p","excluded":"pattern"},{"name":"o","excluded":"otherfs"},)"
                   R"({"name":"h","excluded":"othfs"},{"name":"k","excluded":"kernfs"},)"
                   R"({"name":"f","excluded":"frmlnk"},{"name":"n","excluded":"a reason not known yet"})"),
            QStringList{root + "0 0", "p file x 0 0", "o folder o 0 0", "h folder o 0 0", "k folder o 0 0",
                        "f folder o 0 0", "n file x 0 0"});
        row("hard links by hlnkc or nlink",
            around(R"(,{"name":"a","dsize":8,"ino":5,"hlnkc":true},{"name":"b","dsize":8,"ino":5,"nlink":2},)"
                   R"({"name":"c","dsize":8,"ino":6,"nlink":1,"hlnkc":false})"),
            QStringList{root + "16 0", "a file h 8 0", "b file hl 8 0", "c file - 8 0"});
        row("not regular, with and without a mode",
            around(R"(,{"name":"s","notreg":true},{"name":"l","notreg":true,"mode":41471},)"
                   R"({"name":"d","mode":16877,"excluded":"pattern"})"),
            QStringList{root + "0 0", "s special - 0 0", "l link - 0 0", "d folder x 0 0"});
        row("read errors and an empty folder",
            around(R"(,[{"name":"e","read_error":true}],{"name":"f","read_error":true},[{"name":"g"}])"),
            QStringList{root + "0 0", "e folder u 0 0", "f file u 0 0", "g folder - 0 0"});
        row("escapes, a surrogate pair among them",
            around(",{\"name\":\"\\\"\\\\\\b\\f\\n\\r\\t\\u00e9\\u65e5\\ud83d\\ude00\"}"),
            QStringList{root + "0 0", "%22%5C%08%0C%0A%0D%09%C3%A9%E6%97%A5%F0%9F%98%80 file - 0 0"});
        row("raw bytes that are not UTF-8", around(",{\"name\":\"caf\xe9\x80\xff\"}"),
            QStringList{root + "0 0", "caf%E9%80%FF file - 0 0"});
        row("a key given twice: the last counts", around(R"(,{"name":"x","asize":1,"name":"y","asize":2})"),
            QStringList{root + "0 2", "y file - 0 2"});
        row("white space anywhere and values after the tree",
            QByteArray(" \n[ 1 ,\t10000 , { } ,\r\n[ { \"name\" : \"/r\" } , { \"name\" : \"a\" } ] , "
                       "{\"later\":[1]} ] \n"),
            QStringList{root + "0 0", "a file - 0 0"});
    }
    void variantsOfTheFormatAreRead()
    {
        const auto [json, items] = fetch<QByteArray, QStringList>("json", "items");
        const auto read = readBytes(json);
        QVERIFY2(std::holds_alternative<StorageTree>(read), qPrintable(refusal(read)));
        QCOMPARE(dump(std::get<StorageTree>(read)), items);
    }

    // Each export is refused at the byte marked "§" in it (the mark is taken out), for the reason given.
    void hostileExportsAreRefused_data()
    {
        columns<QByteArray, QString, int>("json", "reason", "mostItems");
        const QByteArray deepFolders =
            around(QByteArray(R"(,[{"name":"d"})").repeated(NcduExport::deepestNesting - 1) +
                   ",§[{\"name\":\"d\"}]");
        const QByteArray deepValues =
            around(",{\"name\":\"a\",\"x\":" + QByteArray("[").repeated(NcduExport::deepestNesting) + "§[]}");
        const QByteArray longName = around(",{\"name\":§\"" + QByteArray(65536, 'a') + "\"}");
        row("empty", QByteArray("§"), "not an ncdu export", 0);
        row("an object at the top", QByteArray(R"(§{"a":1})"), "not an ncdu export", 0);
        row("cut short", around("").chopped(2) + "§", "ends before", 0);
        row("cut short in a string", QByteArray("[1,2,{},[{\"name\":\"/r§"), "ends before", 0);
        row("major version 2", QByteArray(R"([§2,0,{},[{"name":"/r"}]])"), "version 2 is not supported", 0);
        row("minor version over 10000", QByteArray(R"([1,§10001,{},[{"name":"/r"}]])"), "from 0 to 10000", 0);
        row("a version with a fraction", QByteArray(R"([§1.0,0,{},[{"name":"/r"}]])"), "from 0 to 10000", 0);
        row("a negative version", QByteArray(R"([1,§-1,{},[{"name":"/r"}]])"), "from 0 to 10000", 0);
        row("metadata that is not an object", QByteArray(R"([1,2,§[],[{"name":"/r"}]])"),
            "not an ncdu export", 0);
        row("a root that is not a folder", QByteArray(R"([1,2,{},§{"name":"/r"}])"), "written as a list", 0);
        row("a folder without its details", around(",[§]"), "its own details", 0);
        row("folders nested too deep", deepFolders, "deeper than 4096", 0);
        row("values nested too deep", deepValues, "deeper than 4096", 0);
        row("an item without a name", around(R"(,§{"asize":1})"), "no name", 0);
        row("an empty name", around(R"(,§{"name":""})"), "not a valid name", 0);
        row("a name of one dot", around(R"(,§{"name":"."})"), "not a valid name", 0);
        row("a name of two dots", around(R"(,[§{"name":".."}])"), "not a valid name", 0);
        row("a name with a slash", around(R"(,§{"name":"a/b"})"), "not a valid name", 0);
        row("a name with a NUL", around(",§{\"name\":\"a\\u0000b\"}"), "not a valid name", 0);
        row("an empty root path", QByteArray(R"([1,2,{},[§{"name":""}]])"), "path is empty", 0);
        row("a name too long", longName, "longer than 65535", 0);
        row("a name that is not a string", around(R"(,{"name":§5})"), "must be a string", 0);
        row("a negative size", around(R"(,{"name":"a","asize":§-1})"), "“asize” must be a whole number", 0);
        row("a size over 2^62", around(R"(,{"name":"a","dsize":§4611686018427387905})"), "“dsize”", 0);
        row("a size with a fraction", around(R"(,{"name":"a","asize":§1.5})"), "“asize”", 0);
        row("a size with an exponent", around(R"(,{"name":"a","asize":§1e3})"), "“asize”", 0);
        row("a size as a string", around(R"(,{"name":"a","asize":§"12"})"), "“asize”", 0);
        row("an inode past 64 bits", around(R"(,{"name":"a","ino":§18446744073709551616})"), "“ino”", 0);
        row("a flag that is a number", around(R"(,{"name":"a","hlnkc":§1})"), "true or false", 0);
        row("more items than allowed", around(R"(,{"name":"a"},§{"name":"b"})"), "more than 2 items", 2);
        row("something after the end", around("") + "§x", "follows the end", 0);
        row("a second document", around("") + " §[]", "follows the end", 0);
        row("an invalid escape", around(",{\"name\":\"a§\\x\"}"), "invalid escape", 0);
        row("a \\u escape without four hex digits", around(",{\"name\":\"a\\u12§G4\"}"), "invalid escape", 0);
        row("a lone high surrogate", around(",{\"name\":\"a§\\ud800\"}"), "surrogate", 0);
        row("a lone low surrogate", around(",{\"name\":\"a§\\udc00\"}"), "surrogate", 0);
        row("a high surrogate before another letter", around(",{\"name\":\"§\\ud800\\u0041\"}"), "surrogate",
            0);
        row("a raw control character", around(",{\"name\":\"a§\x01\"}"), "control character", 0);
        row("a number with a leading zero", around(R"(,{"name":"a","asize":0§1})"), "malformed", 0);
        row("a missing colon", around(R"(,{"name" §"a"})"), "colon", 0);
        row("items without a comma", around(R"(§{"name":"a"})"), "comma or a closing bracket", 0);
        row("a number among the items", around(",§5"), "a folder […] or an item {…}", 0);
        row("a misspelt literal", around(R"(,{"name":"a","hlnkc":tru§})"), "a value was expected", 0);
    }
    void hostileExportsAreRefused()
    {
        auto [json, reason, mostItems] = fetch<QByteArray, QString, int>("json", "reason", "mostItems");
        const qsizetype at = json.indexOf("§");
        QVERIFY(at >= 0);
        json.remove(at, qsizetype(strlen("§")));
        NcduExport::ReadOptions options;
        if (mostItems > 0)
            options.mostItems = std::size_t(mostItems);
        const QString message = refusal(readBytes(json, options));
        QVERIFY2(message.contains(QStringLiteral("at byte %1:").arg(at)) && message.contains(reason),
                 qPrintable(message));
    }

    // Progress is told every few thousand items, and a cancel stops the reading.
    void progressAndCancelling()
    {
        const QByteArray text = written(build(wide(40000)));
        std::vector<std::size_t> told;
        NcduExport::ReadOptions options;
        options.progress = [&](std::size_t items) { told.push_back(items); };
        QVERIFY(std::holds_alternative<StorageTree>(readBytes(text, options)));
        QCOMPARE(told, (std::vector<std::size_t>{16384, 32768}));
        std::atomic_bool cancelled = false;
        options.cancelled = &cancelled;
        options.progress = [&](std::size_t) { cancelled = true; };
        QVERIFY(refusal(readBytes(text, options)).contains("cancelled"));
    }

    // A full disk, or nothing to write, is said in the display language.
    void failuresAreSaid()
    {
        QFile full(QStringLiteral("/dev/full"));
        QVERIFY(full.open(QIODevice::WriteOnly));
        QVERIFY(
            NcduExport::write(build(everyKind()), full).value_or(QString()).startsWith("Could not write"));
        QCOMPARE(NcduExport::write(StorageTree(), full).value_or(QString()),
                 QString("There is no analysis to export."));
        useLanguage(AppLanguagePreference::chinese);
        QVERIFY(refusal(readBytes("[1,2,{},[")).contains("第 9 字节处"));
    }
};

KELVO_REGISTER_TEST(TestNcduExport)
#include "tst_NcduExport.moc"
