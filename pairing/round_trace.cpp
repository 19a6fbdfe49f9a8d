#include "pairing/round_trace.h"

#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "reports/report_file.h"
#include "tournament/files/host_files.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <cstdio>
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

// Writes into a C file, turning every line feed into CR LF.
class CrLfFileBuffer : public std::streambuf {
  public:
    explicit CrLfFileBuffer(std::FILE* file) : file_(file) {}
    ~CrLfFileBuffer() override { std::fclose(file_); }

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (c == '\n' && std::fputc('\r', file_) == EOF) return traits_type::eof();
        return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
    }
    int sync() override { return std::fflush(file_) == 0 ? 0 : -1; }

  private:
    std::FILE* file_;
};

struct OpenTrace {
    std::unique_ptr<CrLfFileBuffer> buffer;
    std::unique_ptr<std::ostream> stream;
};
OpenTrace Trace;
bool KeepOnOpen = false;

} // namespace

std::string PairingTracePath(int round) {
    return std::string(Settings.DataFolder) + "verbos" + std::to_string(round) + ".txt";
}

bool OpenPairingTrace(int round) {
    ClosePairingTrace();
    if (VerboseOption == 0) return false;
    std::FILE* file = OpenHostFile(PairingTracePath(round), KeepOnOpen ? "ab" : "wb");
    if (file == nullptr) return false;
    Trace.buffer = std::make_unique<CrLfFileBuffer>(file);
    Trace.stream = std::make_unique<std::ostream>(Trace.buffer.get());
    PairingTrace = Trace.stream.get();
    return true;
}

void KeepPairingTraceOnOpen(bool on) {
    KeepOnOpen = on;
}

void ClosePairingTrace() {
    if (Trace.stream) Trace.stream->flush();
    if (PairingTrace == Trace.stream.get()) PairingTrace = nullptr;
    Trace.stream.reset();
    Trace.buffer.reset();
}

void WriteScoreGroupDump(int groupCount, int pass, int ruleWidth, const ScoreGroupDumpBody& body) {
    std::ostringstream out;
    out << "Score groups of the round " << CurrentRound << "\n";
    const std::string rule(static_cast<std::size_t>(ruleWidth), '-');
    for (int g = 1; g <= groupCount; ++g) {
        const ScoreGroup& group = ScoreGroupAt(g);
        out << "\n" << rule << "\n Group " << g << ", score = " << group.score << "\n" << rule << "\n";
        body(out, group);
    }
    const std::string path = std::string(Settings.DataFolder) + "scgr" + std::to_string(CurrentRound) + "-" +
                             std::to_string(pass) + ".txt";
    // The arbiter reads the dump to check the round: one cut short must
    // not stand in for it, nor the last round's pass be taken for this one.
    if (!WriteReportFile(path, out.str()))
        ShowAlert(MessageText(MsgCannotCreateFile) + "\n" + path, MessageText(MsgClose));
}
