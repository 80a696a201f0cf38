#pragma once
// provision's output while the ports run: on a terminal one line per port, redrawn in place
// (step, progress, result); otherwise a plain line per event, prefixed by the port.
//
// Threads: the main thread.
#include <string>
#include <vector>

class ProvisionTable {
  public:
    // live: redraw in place (stdout is a terminal); otherwise plain lines.
    ProvisionTable(std::vector<std::string> ports, bool live);

    // The port's row now reads `state`; `event` is the plain line for it (none when empty).
    void Update(std::size_t port, const std::string& state, const std::string& event);
    // A line of its own above the table (kept when the table is redrawn).
    void Note(const std::string& line);

  private:
    void Redraw();

    std::vector<std::string> ports_;
    std::vector<std::string> states_;
    bool live_;
    bool drawn_ = false;
};
