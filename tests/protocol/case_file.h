// Protocol cases kept as data: request bytes in, response bytes out.
//
//   == name           starts a case
//   % label           the charset of an EXECUTE request and of its answer
//                     (default UTF-8); the texts below are in its bytes
//   $ text            EXECUTE argument (Argument0 first); "$" alone: empty
//   $* N text         one argument: the text N times over
//   $$ N text         N arguments, each the text
//   ! 200             expected status code of an EXECUTE answer
//   = text            expected Result ("=" alone: empty)
//   + text            expected Value lines, Value0 first
//   > text / > / >= text   raw request: text + CR LF, CR LF, text alone
//   < text / < / <= text   raw expected response, likewise
//   @ disk           the answer comes from the file system: runners that
//                    have none skip the case
//
// Texts take the escapes \\ \r \n \t \0 and \xHH. Lines starting with "#"
// and blank lines are ignored.
#pragma once

#include <string>
#include <vector>

struct ProtocolCase {
    std::string name;
    std::string location;  // file:line of the "==" line
    std::string request;
    std::string expected_response;
};

// Reads every case of one file; on a malformed line returns false and sets
// `error` to its location.
bool read_case_file(const std::string& path, std::vector<ProtocolCase>& cases, std::string& error);

// Bytes shown readably: control bytes and backslashes escaped, CR LF as "\r\n" + new line.
std::string printable(const std::string& bytes);
