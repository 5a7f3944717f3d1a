// The English meaning of a message the module answers, from the reference's
// entries { message, meaning, commands }: "…" in a message stands for any
// text, and an entry without commands is for any command.
const escapeRegExp = (text) => text.replace(/[\\^$.*+?()[\]{}|]/g, '\\$&');

// A function of the command and the message that gives the meaning, or null:
// the entry for the command, else one for any command.
export function meanings(messages) {
  const entries = messages.map((entry) => ({
    ...entry,
    pattern: new RegExp(`^${entry.message.split('…').map(escapeRegExp).join('.*')}$`, 's'),
  }));
  return (command, message) => {
    const matching = entries.filter((entry) => entry.pattern.test(message));
    const entry = matching.find((m) => m.commands.includes(command)) ?? matching.find((m) => m.commands.length === 0) ?? matching[0];
    return entry ? entry.meaning : null;
  };
}
