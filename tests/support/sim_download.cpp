#include "sim_download.h"

#include "memory_image_encoder.h"

namespace vm880::test {

namespace {

SimReply split(const std::string& bytes, std::size_t at, int gapMs)
{
    if (at >= bytes.size())
        return SimReply::Bytes(bytes);
    return SimReply::Bytes(bytes.substr(0, at)).Then(bytes.substr(at), gapMs);
}

} // namespace

SimDownloadServer::SimDownloadServer(const ConfigModel& model, SimDownloadFaults faults)
    : model_(model), faults_(std::move(faults))
{
    const std::vector<std::uint8_t> image = EncodeMemoryImage(model_);
    for (int k = 0; k < faults_.imageLines; ++k) {
        const int value = k < static_cast<int>(image.size()) ? image[static_cast<std::size_t>(k)] : 0;
        imageLines_.push_back(std::to_string(k) + "," + std::to_string(value));
    }
    rtcRecords_ = RTCRecords(model_);
    apRecords_ = APRecords(model_);
}

SimController::Policy SimDownloadServer::Policy()
{
    return [this](const SimLine& line) { return Answer(line); };
}

bool SimDownloadServer::Handles(const SimLine& line) const
{
    const std::string& t = line.text;
    return t == "1SendEram" || t == "1SendRTCEram" || t == "1SendAPEram" || t == "1GetVersion" || t == "OK"
        || t == "r" || t == "o" || t == model_.Lock + model_.Terminator;
}

SimReply SimDownloadServer::next()
{
    if (sent_ >= queue_.size())
        return SimReply::Silence();
    return queue_[sent_++];
}

void SimDownloadServer::queueMain()
{
    const SimDownloadFaults& f = faults_;
    const int count = static_cast<int>(imageLines_.size());
    SimReply write;
    int inWrite = 0;
    auto flush = [&] {
        if (!write.chunks.empty())
            queue_.push_back(write);
        write = SimReply{};
        inWrite = 0;
    };
    for (int k = 0; k < count; ++k) {
        if (k == f.silentFromLine)
            return flush();
        std::string bytes = (k == f.garbageLine ? f.garbage : imageLines_[static_cast<std::size_t>(k)]) + "\r\n";
        // The end marker travels with the last line, as the controller sends it.
        if (k == count - 1)
            bytes += "Complete\r\n";
        if (k == f.splitLine) {
            flush();
            // Each half waits for its own acknowledgement, as two reads would.
            queue_.push_back(SimReply::Bytes(bytes.substr(0, 3)));
            queue_.push_back(SimReply::Bytes(bytes.substr(3)));
            continue;
        }
        if (k == f.pauseLine) {
            flush();
            write.chunks.push_back({bytes, f.pauseMs});
        } else if (write.chunks.empty()) {
            write.chunks.push_back({bytes, 0});
        } else {
            write.chunks.back().bytes += bytes;
        }
        if (++inWrite >= f.linesPerWrite || k == f.pauseLine)
            flush();
    }
    flush();
}

void SimDownloadServer::queueOption(const std::vector<std::string>& records, const std::string& echo,
                                    const std::string& end)
{
    if (faults_.silentOptions) {
        queue_.push_back(SimReply::Bytes(echo));
        return;
    }
    if (faults_.streamOptions) {
        SimReply write;
        std::string bytes = echo;
        for (const std::string& record : records) {
            bytes += record;
            if (faults_.streamPauseMs > 0) {
                write.Then(bytes, write.chunks.empty() ? 0 : faults_.streamPauseMs);
                bytes.clear();
            }
        }
        queue_.push_back(write.Then(bytes + end, write.chunks.empty() ? 0 : faults_.streamPauseMs));
        return;
    }
    const std::size_t writes = faults_.endWithLastRecord && !records.empty() ? records.size() : records.size() + 1;
    for (std::size_t i = 0; i < writes; ++i) {
        // A record needs no line end: the board pauses for its acknowledgement.
        std::string bytes = i < records.size() ? records[i] : end;
        if (i + 1 == records.size() && writes == records.size())
            bytes += "\r\n" + end;
        // Cut after the third byte: the end markers ("Com" + "plete", "RIC" + "omplete") too.
        SimReply write = faults_.splitRecords ? split(bytes, 3, 5) : SimReply::Bytes(bytes);
        if (i == 0 && faults_.echoAlone) {
            // A pause longer than the program's record gap: the echo is a record of its own.
            write.chunks.front().delayMs = 200;
            write.chunks.insert(write.chunks.begin(), {echo, 0});
        } else if (i == 0) {
            write.chunks.front().bytes.insert(0, echo);
        }
        queue_.push_back(write);
    }
}

SimReply SimDownloadServer::Answer(const SimLine& line)
{
    const std::string& text = line.text;
    if (line.number == 0)
        return SimReply::Silence();
    if (!ack_.empty() && text == ack_)
        return next();
    if (text == "OK" || text == "r" || text == "o")
        return SimReply::Silence();
    // The closing lock code of an option download or version query is taken without a reply.
    if (text == model_.Lock + model_.Terminator)
        return SimReply::Silence();

    if (text == "1SendEram") {
        ++requests_;
        queue_.clear();
        sent_ = 0;
        ack_ = "OK";
        if (faults_.refuseMain)
            return SimReply::Nack();
        queueMain();
        return next();
    }
    if (text == "1SendRTCEram" || text == "1SendAPEram") {
        ++requests_;
        queue_.clear();
        sent_ = 0;
        if (optionRequests_++ < faults_.refuseOption) {
            ack_.clear();
            return SimReply::Nack();
        }
        if (text == "1SendRTCEram") {
            ack_ = "r";
            queueOption(rtcRecords_, "+SendRTCEram\r\n", "Complete\r\n");
        } else {
            ack_ = "o";
            queueOption(apRecords_, "+SendAPEram\r\n", "RIComplete\r\n");
        }
        return next();
    }
    if (text == "1GetVersion") {
        ++requests_;
        ack_.clear();
        const std::string reply = model_.FirmwareVersion + "\r\n+\r\n";
        return faults_.splitVersion ? split(reply, 2, 30) : SimReply::Bytes(reply);
    }
    return SimReply::Ack();
}

} // namespace vm880::test
