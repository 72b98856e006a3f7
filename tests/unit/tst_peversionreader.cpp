#include "common/Global.h"
#include "common/PeVersionReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

// Offsets of the small image that BuildImage makes.
constexpr int kHeader = 0x40;
constexpr int kSectionTable32 = kHeader + 24 + 0xE0;
constexpr int kResources = 0x200; // file offset of .rsrc, RVA 0x1000
constexpr int kRootEntries = kResources + 16;
constexpr int kNameDirectory = kResources + 0x20;
constexpr int kLanguageDirectory = kResources + 0x38;
constexpr int kDataEntry = kResources + 0x50;
constexpr int kVersionInfo = kResources + 0x60;
constexpr int kFixedInfo = kVersionInfo + 40;

void Put16(QByteArray &image, int offset, quint16 value)
{
    qToLittleEndian(value, image.data() + offset);
}

void Put32(QByteArray &image, int offset, quint32 value)
{
    qToLittleEndian(value, image.data() + offset);
}

// A minimal Windows image: headers, one .rsrc section holding an icon type (never visited)
// and the version resource with file version 2.5.300.65535. The file ends with the block.
QByteArray BuildImage(bool pe32Plus = false)
{
    QByteArray image(kVersionInfo + 92, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, kHeader);
    Put32(image, kHeader, 0x00004550);
    const int optionalSize = pe32Plus ? 0xF0 : 0xE0;
    Put16(image, kHeader + 4, pe32Plus ? 0x8664 : 0x14C);
    Put16(image, kHeader + 6, 1);
    Put16(image, kHeader + 20, optionalSize);
    const int optional = kHeader + 24;
    Put16(image, optional, pe32Plus ? 0x20B : 0x10B);
    const int directories = optional + (pe32Plus ? 112 : 96);
    Put32(image, directories - 4, 16);
    Put32(image, directories + 16, 0x1000);
    Put32(image, directories + 20, image.size() - kResources);

    const int section = optional + optionalSize;
    image.replace(section, 5, ".rsrc");
    Put32(image, section + 8, image.size() - kResources);
    Put32(image, section + 12, 0x1000);
    Put32(image, section + 16, image.size() - kResources);
    Put32(image, section + 20, kResources);

    // Root: types 3 and 16; then name 1 and language 0x409 of type 16.
    Put16(image, kResources + 14, 2);
    Put32(image, kRootEntries, 3);
    Put32(image, kRootEntries + 4, 0x80000000 | 0x7000);
    Put32(image, kRootEntries + 8, 16);
    Put32(image, kRootEntries + 12, 0x80000000 | (kNameDirectory - kResources));
    Put16(image, kNameDirectory + 14, 1);
    Put32(image, kNameDirectory + 16, 1);
    Put32(image, kNameDirectory + 20, 0x80000000 | (kLanguageDirectory - kResources));
    Put16(image, kLanguageDirectory + 14, 1);
    Put32(image, kLanguageDirectory + 16, 0x409);
    Put32(image, kLanguageDirectory + 20, kDataEntry - kResources);
    Put32(image, kDataEntry, 0x1000 + kVersionInfo - kResources);
    Put32(image, kDataEntry + 4, 92);

    Put16(image, kVersionInfo, 92);
    Put16(image, kVersionInfo + 2, 52);
    const QString key = QStringLiteral("VS_VERSION_INFO");
    for (int i = 0; i < key.size(); ++i)
        Put16(image, kVersionInfo + 6 + 2 * i, key[i].unicode());
    Put32(image, kFixedInfo, 0xFEEF04BD);
    Put32(image, kFixedInfo + 4, 0x00010000);
    Put32(image, kFixedInfo + 8, (2 << 16) | 5);
    Put32(image, kFixedInfo + 12, (300 << 16) | 65535);
    return image;
}

// The version read from an exact-size heap copy, so a read past its end shows under ASan.
QString VersionOfCopy(const QByteArray &image, qsizetype length)
{
    std::unique_ptr<char[]> copy(new char[std::max<qsizetype>(length, 1)]);
    std::copy_n(image.constData(), length, copy.get());
    return PeVersionReader(QByteArrayView(copy.get(), length)).FileVersion();
}

struct Patch
{
    int offset = 0;
    quint32 value = 0;
    int width = 4;
};
using Patches = QList<Patch>;

} // namespace

Q_DECLARE_METATYPE(Patches)

class TestPeVersionReader : public QObject
{
    Q_OBJECT
private slots:
    void readsFixedFileVersion()
    {
        QCOMPARE(PeVersionReader(BuildImage()).FileVersion(), QString("2.5.300.65535"));
        QCOMPARE(PeVersionReader(BuildImage(true)).FileVersion(), QString("2.5.300.65535"));
    }

    void fileVersionStr()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        auto write = [&](const QString &name, const QByteArray &data) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(data);
        };
        write("update.exe", BuildImage());
        write("notes.txt", "MZ but nothing else");
        write("empty.exe", QByteArray());
        QCOMPARE(GetFileVersionStr(dir.filePath("update.exe")), QString("2.5.300.65535"));
        QCOMPARE(GetFileVersionStr(dir.filePath("notes.txt")), QString("1.0.0.0"));
        QCOMPARE(GetFileVersionStr(dir.filePath("empty.exe")), QString("1.0.0.0"));
        QCOMPARE(GetFileVersionStr(dir.filePath("missing.exe")), QString("1.0.0.0"));
        QCOMPARE(GetFileVersionStr(dir.path()), QString("1.0.0.0"));
    }

    // Every cut of the image loses part of the version block or what leads to it.
    void truncatedImages()
    {
        const QByteArray image = BuildImage();
        for (qsizetype length = 0; length < image.size(); ++length)
            QVERIFY2(VersionOfCopy(image, length).isEmpty(), qPrintable(QString::number(length)));
    }

    void garbledImages_data()
    {
        QTest::addColumn<Patches>("patches");
        const int section = kSectionTable32;
        auto row = [](const char *name, Patches patches) { QTest::newRow(name) << patches; };
        row("no MZ", {{0, 'X', 2}});
        row("PE header past the end", {{0x3C, 0xFFFFFFF0}});
        row("PE header at the top bit", {{0x3C, 0x80000000}});
        row("no PE signature", {{kHeader, 0x00004551}});
        row("unknown optional magic", {{kHeader + 24, 0x10C, 2}});
        row("no resource directory slot", {{kHeader + 24 + 92, 2}});
        row("resource address 0", {{kHeader + 24 + 96 + 16, 0}});
        row("resource address outside sections", {{kHeader + 24 + 96 + 16, 0x9000}});
        row("no sections", {{kHeader + 6, 0, 2}});
        row("section table runs off the file", {{kHeader + 6, 0xFFFF, 2}, {section + 12, 0x5000}});
        row("optional header size runs off the file", {{kHeader + 20, 0xFFFF, 2}});
        row("raw data past the end", {{section + 20, 0xFFFFFF00}});
        row("section address above the resources", {{section + 12, 0xFFFFF000}});
        row("entries run off the file", {{kResources + 12, 0xFFFFFFFF}, {kRootEntries + 8, 17}});
        row("no version type", {{kRootEntries + 8, 17}});
        row("version type named", {{kRootEntries + 8, 0x80000010}});
        row("version type not a directory", {{kRootEntries + 12, kNameDirectory - kResources}});
        row("directory offset far away", {{kRootEntries + 12, 0xFFFFFFFF}});
        row("name entry is data", {{kNameDirectory + 20, kLanguageDirectory - kResources}});
        row("language entry loops as a directory",
            {{kLanguageDirectory + 20, 0x80000000 | (kLanguageDirectory - kResources)}});
        row("data address outside sections", {{kDataEntry, 0x20000}});
        row("data size too small", {{kDataEntry + 4, 60}});
        row("value length too small", {{kVersionInfo + 2, 51, 2}});
        Patches endlessKey;
        for (int at = kVersionInfo + 6; at < kVersionInfo + 92; at += 2)
            endlessKey.append({at, 'A', 2});
        row("key without end", endlessKey);
        row("bad signature", {{kFixedInfo, 0xFEEF04BC}});
    }
    void garbledImages()
    {
        QFETCH(Patches, patches);
        QByteArray image = BuildImage();
        for (const Patch &patch : patches) {
            if (patch.width == 2)
                Put16(image, patch.offset, quint16(patch.value));
            else
                Put32(image, patch.offset, patch.value);
        }
        QCOMPARE(VersionOfCopy(image, image.size()), QString());
    }
};

QTEST_GUILESS_MAIN(TestPeVersionReader)
#include "tst_peversionreader.moc"
