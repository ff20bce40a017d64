# Change watcher and Outlook Express presence check.
