#include "sim/SimOptions.h"

#include "cmdline/CommandLine.h"

namespace torvex {

namespace {

bool ParseInt(const QString& strText, int& nValue) {
    bool bOk = false;
    const int n = strText.toInt(&bOk);
    if (!bOk || n < 0) return false;
    nValue = n;
    return true;
}

// "CODE@MS" of the error options.
bool ParseError(const QString& strText, int& nCode, int& nAtMs) {
    const QStringList parts = strText.split(u'@');
    return parts.size() == 2 && ParseInt(parts[0], nCode) && nCode > 0 && ParseInt(parts[1], nAtMs);
}

} // namespace

QString SimOptionsHelp() {
    return QStringLiteral(
        "  --model K2|K1            instrument model (default K2; \"QT\" answers AT0 / AT1)\n"
        "  --identity TEXT          reply to \"QA\" (default \"KELVORA, TORVEX\")\n"
        "  --reply QUERY=TEXT       answer QUERY (e.g. QB) with TEXT, whatever the state\n"
        "  --time-scale F           simulated seconds per real second (default 1; 100 runs\n"
        "                           a 60 s step in 0.6 s)\n"
        "  --discharge-ms MS        discharging time after every output end (default 0)\n"
        "  --start-delay-ms MS      after CA the step runs at once but counts down only\n"
        "                           after MS\n"
        "  --baud N                 pass bytes at N baud both ways, as a real line does\n"
        "                           (default 9600; 0 as fast as the pseudo-terminal)\n"
        "  --silent                 never answer anything\n"
        "  --drop-acks N            leave out the next N acknowledgements\n"
        "  --late-ack-ms MS         send every acknowledgement MS late\n"
        "  --bad-bcc N              the next N reply frames carry a wrong check byte\n"
        "  --stray-bytes N          N junk bytes after every answer\n"
        "  --slow-bytes-ms MS       pause MS between the bytes of a reply frame\n"
        "  --drop-ack-of CMD:N      leave out the acknowledgement of the next N frames\n"
        "                           starting with CMD (the command takes effect)\n"
        "  --drop-acks-after CMD:N  after a frame starting with CMD, leave out the next N\n"
        "                           acknowledgements\n"
        "  --hangup-after N         drop the line after N received frames\n"
        "  --hangup-at-ms MS        drop the line MS after the start\n"
        "  --fault KIND:CMD:N       once, at the Nth frame starting with CMD (or, with CMD\n"
        "                           \"discharging\", the Nth frame while discharging):\n"
        "                           lose-ack (taken, its acknowledgement or reply lost),\n"
        "                           bad-bcc (a reply with a wrong check byte; a command\n"
        "                           damaged and ignored), silence (lost, and nothing\n"
        "                           answered from then on), hangup (answered, then the\n"
        "                           line drops)\n"
        "  --error CODE@MS          raise error CODE MS after the start\n"
        "  --error-running CODE@MS  raise error CODE MS into a step; the output goes on\n"
        "  --error-ending CODE@MS   raise error CODE MS into a step; the output ends\n"
        "  --eut-fail-ms MS         EUT FAIL (error 6) ends the first step that runs MS\n"
        "  --log FILE               write every command and query received to FILE\n"
        "  --help                   this text\n");
}

bool ParseSimOptions(const QStringList& args, SimOptions& opt, QString& strError) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& strName = args[i];
        auto value = [&](QString& strValue) {
            if (i + 1 >= args.size()) {
                strError = QStringLiteral("%1 needs a value").arg(strName);
                return false;
            }
            strValue = args[++i];
            return true;
        };
        auto intValue = [&](int& nValue) {
            QString strValue;
            if (!value(strValue)) return false;
            if (!ParseInt(strValue, nValue)) {
                strError = QStringLiteral("%1: '%2' is not a number of 0 or more").arg(strName, strValue);
                return false;
            }
            return true;
        };
        auto errorValue = [&](SimOptions::ErrorMode eMode) {
            QString strValue;
            if (!value(strValue)) return false;
            if (!ParseError(strValue, opt.nErrorCode, opt.nErrorAtMs)) {
                strError = QStringLiteral("%1: '%2' is not CODE@MS").arg(strName, strValue);
                return false;
            }
            opt.eErrorMode = eMode;
            return true;
        };
        QString strValue;
        bool bOk = true;
        if (strName == "--model") {
            if ((bOk = value(strValue))) {
                if (strValue.compare("K2", Qt::CaseInsensitive) == 0)
                    opt.eModel = SimOptions::MODEL_K2;
                else if (strValue.compare("K1", Qt::CaseInsensitive) == 0)
                    opt.eModel = SimOptions::MODEL_K1;
                else {
                    strError = QStringLiteral("--model: '%1' is neither K2 nor K1").arg(strValue);
                    bOk = false;
                }
            }
        } else if (strName == "--identity") {
            bOk = value(opt.strIdentity);
        } else if (strName == "--reply") {
            if ((bOk = value(strValue))) {
                const qsizetype nEq = strValue.indexOf(u'=');
                if (nEq != 2 || !strValue.startsWith(u'Q')) {
                    strError = QStringLiteral("--reply: '%1' is not QUERY=TEXT").arg(strValue);
                    bOk = false;
                } else {
                    opt.mapReplies.insert(strValue.left(2), strValue.mid(3));
                }
            }
        } else if (strName == "--time-scale") {
            if ((bOk = value(strValue))) {
                opt.dTimeScale = strValue.toDouble(&bOk);
                if (!bOk || !(opt.dTimeScale > 0) || opt.dTimeScale > 1e6) {
                    strError = QStringLiteral("--time-scale: '%1' is not a factor above 0").arg(strValue);
                    bOk = false;
                }
            }
        } else if (strName == "--discharge-ms") {
            bOk = intValue(opt.nDischargeMs);
        } else if (strName == "--start-delay-ms") {
            bOk = intValue(opt.nStartDelayMs);
        } else if (strName == "--baud") {
            bOk = intValue(opt.nBaud);
        } else if (strName == "--drop-ack-of" || strName == "--drop-acks-after") {
            if ((bOk = value(strValue))) {
                const int nColon = strValue.lastIndexOf(u':');
                int n = 0;
                bOk = nColon > 0 && (n = strValue.mid(nColon + 1).toInt(&bOk), bOk) && n > 0;
                if (!bOk) {
                    strError = QStringLiteral("%1: '%2' is not CMD:N").arg(strName, strValue);
                } else if (strName == "--drop-ack-of") {
                    opt.strDropAckOf = strValue.left(nColon);
                    opt.nDropAckOf = n;
                } else {
                    opt.strDropAfter = strValue.left(nColon);
                    opt.nDropAfter = n;
                }
            }
        } else if (strName == "--fault") {
            if ((bOk = value(strValue))) {
                const QStringList parts = strValue.split(u':');
                static const QMap<QString, SimOptions::Fault> kinds = {
                    {QStringLiteral("lose-ack"), SimOptions::FAULT_LOSE_ANSWER},
                    {QStringLiteral("bad-bcc"), SimOptions::FAULT_BAD_BCC},
                    {QStringLiteral("silence"), SimOptions::FAULT_SILENCE},
                    {QStringLiteral("hangup"), SimOptions::FAULT_HANGUP}};
                int n = 0;
                bOk = parts.size() == 3 && kinds.contains(parts[0]) && !parts[1].isEmpty() &&
                      ParseInt(parts[2], n) && n > 0;
                if (!bOk) {
                    strError = QStringLiteral("--fault: '%1' is not KIND:CMD:N").arg(strValue);
                } else {
                    opt.eFault = kinds.value(parts[0]);
                    opt.strFaultAt = parts[1];
                    opt.nFaultNth = n;
                }
            }
        } else if (strName == "--silent") {
            opt.bSilent = true;
        } else if (strName == "--drop-acks") {
            bOk = intValue(opt.nDropAcks);
        } else if (strName == "--late-ack-ms") {
            bOk = intValue(opt.nLateAckMs);
        } else if (strName == "--bad-bcc") {
            bOk = intValue(opt.nBadBccReplies);
        } else if (strName == "--stray-bytes") {
            bOk = intValue(opt.nStrayBytes);
        } else if (strName == "--slow-bytes-ms") {
            bOk = intValue(opt.nSlowByteMs);
        } else if (strName == "--hangup-after") {
            bOk = intValue(opt.nHangupAfter);
        } else if (strName == "--hangup-at-ms") {
            bOk = intValue(opt.nHangupAtMs);
        } else if (strName == "--error") {
            bOk = errorValue(SimOptions::ERROR_IDLE);
        } else if (strName == "--error-running") {
            bOk = errorValue(SimOptions::ERROR_RUNNING);
        } else if (strName == "--error-ending") {
            bOk = errorValue(SimOptions::ERROR_RUNNING_ENDED);
        } else if (strName == "--eut-fail-ms") {
            bOk = intValue(opt.nEutFailAtMs);
        } else if (strName == "--log") {
            bOk = value(opt.strLogFile);
        } else {
            strError = QStringLiteral("unknown option '%1'").arg(strName);
            bOk = false;
        }
        if (!bOk) return false;
    }
    return true;
}

QList<QCommandLineOption> SimCommandLineOptions(const QStringList& except) {
    static const char* const kWithValue[] = {
        "model",       "identity",        "reply",        "time-scale",   "discharge-ms", "start-delay-ms",
        "baud",        "drop-acks",       "late-ack-ms",  "bad-bcc",      "stray-bytes",  "slow-bytes-ms",
        "drop-ack-of", "drop-acks-after", "hangup-after", "hangup-at-ms", "fault",        "error",
        "error-running", "error-ending",  "eut-fail-ms",  "log"};
    QList<QCommandLineOption> options;
    for (const char* pszName : kWithValue) {
        const QString name = QString::fromLatin1(pszName);
        if (!except.contains(name)) options << QCommandLineOption(name, QString(), QStringLiteral("value"));
    }
    if (!except.contains(QStringLiteral("silent"))) options << QCommandLineOption(QStringLiteral("silent"));
    return options;
}

bool ReadSimOptions(const QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                    SimOptions& opt, QString& strError) {
    return ParseSimOptions(GivenOptions(parser, options), opt, strError);
}

bool SimulatorArgs(const QCommandLineParser& parser, const QList<QCommandLineOption>& options, bool bSimulate,
                   QStringList& args, QString& strError) {
    args = GivenOptions(parser, options);
    if (!bSimulate && !args.isEmpty()) {
        strError = QStringLiteral("%1 is an option of the simulator: it needs --simulate").arg(args.first());
        return false;
    }
    return true;
}

} // namespace torvex
