// The exit codes of orvenda-cli, as scripts test them.
#ifndef ORVENDA_CLI_EXIT_CODES_H
#define ORVENDA_CLI_EXIT_CODES_H

namespace orvenda::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // a conversion or a file failed
inline constexpr int kExitUsage = 2;    // the command line itself is wrong

}  // namespace orvenda::cli

#endif
