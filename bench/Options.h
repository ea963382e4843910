// The command line of the bench programs: "--name value" pairs; an option not given keeps its
// default.
#pragma once

#include <cstdlib>
#include <map>
#include <string>

class TBenchOptions {
public:
    TBenchOptions(int argc, char** argv)
    {
        for (int i = 1; i + 1 < argc; i += 2) FValues[argv[i]] = argv[i + 1];
    }
    double Number(const std::string& name, double otherwise) const
    {
        auto it = FValues.find(name);
        return it == FValues.end() ? otherwise : std::atof(it->second.c_str());
    }
    std::string Text(const std::string& name, const std::string& otherwise) const
    {
        auto it = FValues.find(name);
        return it == FValues.end() ? otherwise : it->second;
    }

private:
    std::map<std::string, std::string> FValues;
};
