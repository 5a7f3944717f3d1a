// The command handlers, one group per source file.
#pragma once

#include "tavo/command_types.h"

// commands_arithmetic.cpp
CommandResult command_calc(ArgumentList& arguments, ValueList& values);
CommandResult command_calc_float(ArgumentList& arguments, ValueList& values);
CommandResult command_if(ArgumentList& arguments, ValueList& values);
CommandResult command_unless(ArgumentList& arguments, ValueList& values);

// commands_selection.cpp
CommandResult command_switch(ArgumentList& arguments, ValueList& values);
CommandResult command_iflist(ArgumentList& arguments, ValueList& values);
CommandResult command_nswitch(ArgumentList& arguments, ValueList& values);

// commands_position.cpp
CommandResult command_substr(ArgumentList& arguments, ValueList& values);
CommandResult command_at(ArgumentList& arguments, ValueList& values);
CommandResult command_length(ArgumentList& arguments, ValueList& values);
CommandResult command_reverse(ArgumentList& arguments, ValueList& values);
CommandResult command_is_empty(ArgumentList& arguments, ValueList& values);

// commands_split_join.cpp
CommandResult command_split(ArgumentList& arguments, ValueList& values);
CommandResult command_join(ArgumentList& arguments, ValueList& values);

// commands_replace.cpp
CommandResult command_replace(ArgumentList& arguments, ValueList& values);
CommandResult command_replace_first(ArgumentList& arguments, ValueList& values);
CommandResult command_erase(ArgumentList& arguments, ValueList& values);
CommandResult command_erase_first(ArgumentList& arguments, ValueList& values);
CommandResult command_count(ArgumentList& arguments, ValueList& values);

// commands_compare.cpp
CommandResult command_compare(ArgumentList& arguments, ValueList& values);
CommandResult command_compare_head(ArgumentList& arguments, ValueList& values);
CommandResult command_compare_tail(ArgumentList& arguments, ValueList& values);

// commands_width.cpp
CommandResult command_is_digit(ArgumentList& arguments, ValueList& values);
CommandResult command_is_alpha(ArgumentList& arguments, ValueList& values);
CommandResult command_zen2han(ArgumentList& arguments, ValueList& values);
CommandResult command_han2zen(ArgumentList& arguments, ValueList& values);
CommandResult command_hira2kata(ArgumentList& arguments, ValueList& values);
CommandResult command_kata2hira(ArgumentList& arguments, ValueList& values);

// commands_format.cpp
CommandResult command_sprintf(ArgumentList& arguments, ValueList& values);

// commands_random.cpp
CommandResult command_choice(ArgumentList& arguments, ValueList& values);

// commands_files.cpp
CommandResult command_lsimg(ArgumentList& arguments, ValueList& values);
CommandResult command_mkdir(ArgumentList& arguments, ValueList& values);
