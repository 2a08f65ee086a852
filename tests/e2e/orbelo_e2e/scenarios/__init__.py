"""One module per scenario, each with `run(run)` taking a `runner.Run`."""
