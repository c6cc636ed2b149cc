#include "eds/EdsText.h"

#include <QStringList>

#include "config/FunctionCodes.h"
#include "config/NumberText.h"
#include "eds/ClassCommands.h"
#include "eds/ConnectionData.h"
#include "eds/DefaultConnectionIndex.h"
#include "eds/EdsBuildConstants.h"
#include "eds/IpTextToNumber.h"

namespace kv {

namespace {

// Keys start in column 13, continuation lines in column 20, the poll lines in column 23.
const QString KeyIndent(12, u' ');
const QString ValueIndent(19, u' ');
const QString PollIndent(22, u' ');

QString Hex(int value) { return QString::number(value, 16).toUpper(); }

// A text the user typed stays on its own comment line.
QString OneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

struct ConnectionEntry {
    int Size = 0;
    QString SizeComment;
    QString Name;
    QString Path;
    QString Help;
};

QString PathText(int classId, int instance, int attribute) {
    return QStringLiteral("20 %1 24 0%2 30 %3")
        .arg(HexByteText(uint8_t(classId)), Hex(instance), HexByteText(uint8_t(attribute)));
}

QString HelpText(int classId, int instance) {
    return QStringLiteral("Application (0x%1), Instance (0x0%2)")
        .arg(HexByteText(uint8_t(classId)), Hex(instance));
}

QList<ConnectionEntry> EthernetEntries() {
    const char* names[] = {"Master IP", "Master Gateway", "Master Mask"};
    QList<ConnectionEntry> entries;
    for (int attribute = 1; attribute <= 3; ++attribute) {
        const QString name = QString::fromLatin1(names[attribute - 1]);
        entries.append({4, "$ 4 bytes of " + name, name,
                        PathText(ParameterObjectClass, 1, attribute),
                        HelpText(ParameterObjectClass, 1)});
    }
    return entries;
}

QList<ConnectionEntry> CommandEntries(const GatewayConfig& config, PollDirection direction) {
    QList<ConnectionEntry> entries;
    for (const ClassCommand& c : CommandsInUse(config)) {
        const int code = c.Command.FunctionCode;
        if (c.Command.Valid == 0 || !CarriesDirection(code, direction)) continue;
        const QString name = QString::fromLatin1(DataNameOf(code));
        entries.append({CommandDataBytes(code, c.Command.Length), "$ bytes of " + name, name,
                        PathText(c.ClassId, c.Instance, DataAttributeOf(code)),
                        HelpText(c.ClassId, c.Instance)});
    }
    return entries;
}

struct Parameter {
    QString LinkPath;
    bool FourBytes = false;  // data type 0xC8 (4 bytes) or 0xC6 (1 byte)
    QString Name;
    QString RangeStart;
    qint64 Default = 0;
    QString RangeEnd;
};

const QString AddressRange = QStringLiteral("0,0xFFFFFFFF,");
const QString AddressRangeEnd = QStringLiteral(",$ min, max, default data values");
const QString BaudRangeEnd = QStringLiteral(",     $ min, max, default data values");
const QString ByteRangeEnd = QStringLiteral(",                  $ min, max, default data values");

// The parameter object's instance 2 holds the COM1 settings, instance 3 those of COM2.
QList<Parameter> PortParameters(int port, const SerialClassRecord& settings) {
    const QString path = QStringLiteral("20 64 24 0%1 30 0").arg(port + 2);
    const QString com = QStringLiteral("COM %1 ").arg(port + 1);
    return {
        {path + "1", true, com + "Baud Rate", "1200,115200,", RoundHalfEven(settings.Baud),
         BaudRangeEnd},
        {path + "2", false, com + "Data Bits", "7,8,", settings.DataBits, ByteRangeEnd},
        {path + "3", false, com + "Parity Bit", "0,2,", settings.Parity, ByteRangeEnd},
        {path + "4", false, com + "Stop Bits", "1,2,", settings.StopBits, ByteRangeEnd},
    };
}

class EdsLines {
public:
    void Add(const QString& line) { lines_.append(line); }
    void Blank() { lines_.append(QString()); }
    QString Text() const { return lines_.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

    void Header(const EdsInfoTexts& info) {
        Add("$ TAVRIN-VXN Gateway Electronic Data Sheet");
        Add("$ File Description Section : " + OneLine(info.Description));
        Add("$ Created by : " + OneLine(info.CreatedBy));
        Add("$ Device Information:  DeviceNet Slave/ModBus TCP Master Gateway");
        Add("$" + QString(63, u'='));
        Blank();
    }

    void FileSection(const QDateTime& moment) {
        const QString date = moment.toString(QStringLiteral("MM-dd-yyyy"));
        const QString time = moment.toString(QStringLiteral("HH:mm:ss"));
        Add("[File]");
        Add(KeyIndent + "DescText   = \"TAVRIN DeviceNet I/O Controller \"; ");
        Add(KeyIndent + "CreateDate = " + date + ";      $ created");
        Add(KeyIndent + "CreateTime = " + time + ";");
        Add(KeyIndent + "ModDate    = " + date + ";      $ last changed");
        Add(KeyIndent + "ModTime    = " + time + ";");
        Add(KeyIndent + "Revision   = 1.3;             $ Revision of EDS");
        Add(KeyIndent + "HomeURL = \"" + QString::fromLatin1(eds::HomeURL) + "\";");
        Blank();
    }

    void DeviceSection(const FirmwareInfo& firmware) {
        Add("[Device]");
        Add(KeyIndent + "VendCode    = " + QString::number(eds::VendCode) +
            ";            $ Vendor Code");
        Add(KeyIndent + "VendName    = \"TAVRIN\";       $ Vendor Name");
        Add(KeyIndent + "ProdType    = 12;              $ Product Type");
        Add(KeyIndent + "ProdTypeStr = \"Communications Adapter\";");
        Add(KeyIndent + "ProdCode    = 5;");
        Add(KeyIndent + "MajRev      = " + QString::number(firmware.Major) +
            ";              $ Device Major Revision");
        Add(KeyIndent + "MinRev      = " + QString::number(firmware.Minor) +
            ";              $ Device Minor Revision");
        Add(KeyIndent + "ProdName    = \"TAVRIN-KV-9052R\";   $ Product Name");
        Blank();
    }

    void IoInfo(int defaultInput, int defaultOutput) {
        const QString in = QString::number(defaultInput);
        const QString out = QString::number(defaultOutput);
        Add("[IO_Info]");
        Add(KeyIndent + "Default = 0x0001;        $ Poll");
        Add(KeyIndent + "PollInfo =");
        Add(PollIndent + "0x0001,        $ Poll");
        Add(PollIndent + in + ",  $ Default Input = Input" + in);
        Add(PollIndent + out + ";  $ Default Ouput = Output" + out);
        Blank();
    }

    void Connections(const QString& kind, const QList<ConnectionEntry>& entries) {
        Add("$ " + QString(20, u'=') + " " + kind + " Connection " + QString(24, u'='));
        int number = 1;
        for (const ConnectionEntry& entry : entries) {
            Blank();
            Add(KeyIndent + kind + QString::number(number++) + " = ");
            Add(ValueIndent + QString::number(entry.Size) + "," + QString(15, u' ') +
                entry.SizeComment);
            Add(ValueIndent + "0,               $ all bits are significant");
            Add(ValueIndent + "0x0001,          $ Poll");
            Add(ValueIndent + "\"" + entry.Name + "\", $ Name String ");
            Add(ValueIndent + "6,               $ Path Size");
            Add(ValueIndent + "\"" + entry.Path + "\",");
            Add(ValueIndent + "\"" + entry.Help + "\";");
        }
    }

    void Param(int number, const Parameter& p) {
        Add(KeyIndent + "Param" + QString::number(number) + " = ");
        Add(ValueIndent + "0,                      $ reserved, shall equal 0");
        Add(ValueIndent + "6,\"" + p.LinkPath + "\",  $ Link Path Size, Link Path");
        Add(ValueIndent + "0x0000,                 $ Descriptor");
        Add(ValueIndent + (p.FourBytes ? "0xC8" : "0xC6") + ",                   $ Data Type");
        Add(ValueIndent + (p.FourBytes ? "4" : "1") +
            ",                      $ Data Size in bytes");
        Add(ValueIndent + "\"" + p.Name + "\",            $ name");
        Add(ValueIndent + "\"\",                     $ units");
        Add(ValueIndent + "\"\",                     $ help string");
        Add(ValueIndent + p.RangeStart + QString::number(p.Default) + p.RangeEnd);
        Add(ValueIndent + ",,,,                    $ mult, div, base, offset scaling");
        Add(ValueIndent + ",,,,                    $ mult, div, base, offset links");
        Add(ValueIndent + ";                       $ decimal places");
    }

    void ParityEnum(int number) {
        Add(KeyIndent + "Enum" + QString::number(number) + " = ");
        Add(ValueIndent + "0,\"None\",");
        Add(ValueIndent + "1,\"Even\",");
        Add(ValueIndent + "2,\"Odd\";");
    }

private:
    QStringList lines_;
};

QList<Parameter> Parameters(const GatewayConfig& config) {
    const EthernetParams& ethernet = config.EthernetParams;
    QList<Parameter> parameters = {
        {"20 64 24 01 30 01", true, "Master IP", AddressRange, IpTextToNumber(ethernet.Ip),
         AddressRangeEnd},
        {"20 64 24 01 30 02", true, "Master Gateway", AddressRange,
         IpTextToNumber(ethernet.Gateway), AddressRangeEnd},
        {"20 64 24 01 30 03", true, "Master Mask", AddressRange, IpTextToNumber(ethernet.Mask),
         AddressRangeEnd},
    };
    for (int port = 0; port < SerialClassCount; ++port)
        parameters += PortParameters(port, config.SerialClasses[port]);
    return parameters;
}

}  // namespace

QString EdsText(const GatewayConfig& config, const ConnectionPaths& pollPaths,
                const EdsInfoTexts& info, const QDateTime& moment) {
    EdsLines eds;
    eds.Header(info);
    eds.FileSection(moment);
    eds.DeviceSection(config.FirmwareInfo);
    eds.IoInfo(DefaultConnectionIndex(config, pollPaths.PollProduce, PollDirection::Produced),
               DefaultConnectionIndex(config, pollPaths.PollConsume, PollDirection::Consumed));
    eds.Connections("Input", EthernetEntries() + CommandEntries(config, PollDirection::Produced));
    eds.Blank();
    eds.Connections("Output", EthernetEntries() + CommandEntries(config, PollDirection::Consumed));
    eds.Blank();
    eds.Add("[Params]");
    // The parity parameters (6 and 10) are followed by the names of their values.
    const QList<Parameter> parameters = Parameters(config);
    for (int number = 1; number <= parameters.size(); ++number) {
        eds.Param(number, parameters[number - 1]);
        if (number == 6 || number == 10) eds.ParityEnum(number);
    }
    eds.Blank();
    eds.Add("$ End of TAVRIN-KV-9052R EDS File");
    return eds.Text();
}

}  // namespace kv
