# Scene loader tests: filled in as the scene loader lands.
