// A simulated machine with the program object and its data folder, and helpers that store definition
// files in encoded form.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "definitions/line_code.h"
#include "platform/sim/sim_machine.h"
#include "platform/text_files.h"
#include "ui/headless_host.h"

namespace grimsweep {

class DefinitionsTest : public ::testing::Test {
protected:
    DefinitionsTest() : program(sim.View(), host) {
        program.EstablishDataFolder();
        program.messages.RegisterDefaults();
        sim.files.PutFolder(program.dataFolder);
    }

    // Stores plain lines as an encoded definition file in the data folder.
    void PutDefinitions(std::string_view name, const std::vector<std::string>& plainLines) {
        std::string bytes;
        for (const auto& line : plainLines) {
            bytes += EncodeDefinitionLine(line) + std::string(kCrLf);
        }
        sim.files.PutFile(program.DataFile(name), bytes);
    }

    sim::SimMachine sim;
    HeadlessHost host;
    Program program;
};

} // namespace grimsweep
