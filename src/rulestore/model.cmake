# Rule model, reading and writing, identities, blocked senders.
