#pragma once
// The simulated controller's side of the memory download: serves the main memory image made
// by the test-side encoder from a model, the option boards' records and the firmware version,
// each paced by the program's acknowledgements ("OK" per read of the main image, "r" and "o"
// per option record), and can misbehave in the ways a cable or a controller does.
//
// Use it as the simulator's policy: sim.SetPolicy(server.Policy()). Lines it does not know
// are answered "+" as by the default policy.

#include "model/config_model.h"
#include "sim_controller.h"

#include <atomic>
#include <string>
#include <vector>

namespace vm880::test {

struct SimDownloadFaults {
    int imageLines = 4097;      // lines of the main image (the bytes past the layout are 0)
    int linesPerWrite = 1;      // main image lines merged into one write
    int splitLine = -1;         // this line goes out in two writes, cut after its third byte
    int pauseLine = -1;         // this line is sent `pauseMs` late
    int pauseMs = 0;
    int silentFromLine = -1;    // from this line on nothing more is sent
    int garbageLine = -1;       // this line is replaced by `garbage` (its line end added)
    std::string garbage = "garbage";
    bool refuseMain = false;    // "-" in place of the main image
    int refuseOption = 0;       // "-" to the first so many option requests
    bool splitRecords = false;  // every option record in two writes 5 ms apart, cut after its third byte
    bool echoAlone = false;     // the boards' "+Send..." echo in its own write (else merged)
    bool endWithLastRecord = false; // the boards' end marker in one write with their last record
    bool silentOptions = false; // the option boards send their echo and then nothing
    bool streamOptions = false; // the option boards send all records and the end marker at once,
                                // without waiting for each acknowledgement
    int streamPauseMs = 0;      // with streamOptions: a pause this long after each record
    bool splitVersion = false;  // the version reply in two writes, the "+" in the second
};

class SimDownloadServer {
public:
    // Encodes everything it will serve at once: throws std::invalid_argument naming the
    // setting when a value has no memory form, so nothing can fail while serving.
    explicit SimDownloadServer(const ConfigModel& model, SimDownloadFaults faults = {});

    SimController::Policy Policy();
    SimReply Answer(const SimLine& line);
    // True for the lines of the download exchange: its requests, the program's
    // acknowledgements and the closing lock code. Other lines are for the caller to answer.
    bool Handles(const SimLine& line) const;

    // The main image lines served, as "address,value" (without line ends).
    const std::vector<std::string>& ImageLines() const { return imageLines_; }
    int Requests() const { return requests_; }

private:
    void queueMain();
    void queueOption(const std::vector<std::string>& records, const std::string& echo,
                     const std::string& end);
    SimReply next();

    ConfigModel model_;
    SimDownloadFaults faults_;
    std::vector<std::string> imageLines_;
    std::vector<std::string> rtcRecords_;
    std::vector<std::string> apRecords_;
    std::vector<SimReply> queue_; // what each acknowledgement releases, in order
    std::size_t sent_ = 0;
    std::string ack_;             // the acknowledgement that releases the next write
    int optionRequests_ = 0;
    std::atomic<int> requests_{0};
};

} // namespace vm880::test
