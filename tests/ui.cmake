# The strip graph, bar gauge and layout bar controls:

# Printing and export, window and common-control helpers:
